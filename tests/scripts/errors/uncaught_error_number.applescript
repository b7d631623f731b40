error "Too big." number 502
-- expect runtime error: 502 line 1: Too big.
