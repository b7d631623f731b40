set localOnly to 1
log LOCALONLY -- expect: 1
log localOnly + theMissingOne
-- expect runtime error: -2753 line 3: The variable theMissingOne is not defined.
