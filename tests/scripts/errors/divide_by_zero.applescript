log 1 div 0
-- expect runtime error: -2701 line 1: Can't divide by zero.
