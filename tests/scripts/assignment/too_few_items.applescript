set {a, b, c} to {1, 2}
-- expect runtime error: -1728 line 1: Can't get item 3 of {1, 2}.
