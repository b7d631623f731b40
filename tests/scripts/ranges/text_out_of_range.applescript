log text 2 thru 9 of "abc"
-- expect runtime error: -1728 line 1: Can't get text 2 thru 9 of "abc".
