log 7.5 div 2 -- expect: 3
log 7.5 mod 2 -- expect: 1.5
log -7.5 div 2 -- expect: -3
log -7.5 mod 2 -- expect: -1.5
log 10 mod 2.5 -- expect: 0.0
log 7 div 2.0 -- expect: 3
log 1.5 mod 0
-- expect runtime error: -2701 line 7: Can't divide by zero.
