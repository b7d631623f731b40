SET Answer TO 42
Log answer -- expect: 42
TELL WINDOW "Main" to LOG name OF Button "Trigger" -- expect: Trigger
