log 1 ; 2
-- expect error: -2740 line 1: A ";" can't go here.
