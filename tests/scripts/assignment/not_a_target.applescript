set {a, 3} to {1, 2}
-- expect error: -2740 line 1: Can't set a value that is not a variable, a property or an element.
