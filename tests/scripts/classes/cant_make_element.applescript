log button "Trigger" of window "Main" as text field
-- expect runtime error: -1700 line 1: Can't make button "Trigger" of window "Main" into type text field.
