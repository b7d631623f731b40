set {x:a, w:b} to {x:1, y:2}
-- expect runtime error: -1728 line 1: Can't get w of {x:1, y:2}.
