set x to 1 theValue
-- expect error: -2740 line 1: A "theValue" can't go here.
