tell window "Main" to set bounds of button "Trigger" to {1, 2}
-- expect runtime error: -1700 line 1: Can't make {1, 2} into type bounding rectangle.
