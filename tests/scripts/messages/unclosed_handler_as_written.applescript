on showSize(theSize)
  return theSize
-- expect error: -2741 line 4: Expected "end" (to close "showSize" at line 1) but found end of script.
