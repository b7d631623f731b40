set x 3
-- expect error: -2741 line 1: Expected "to" but found number 3.
