set x to 1 2
-- expect error: -2740 line 1: A number 2 can't go here.
