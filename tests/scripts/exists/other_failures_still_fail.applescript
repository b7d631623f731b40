log exists item 1 of undefinedList
-- expect runtime error: -2753 line 1: The variable undefinedList is not defined.
