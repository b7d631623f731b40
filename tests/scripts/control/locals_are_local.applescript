set x to "top"
on peek()
  return x
end peek
log x -- expect: top
peek()
-- expect runtime error: -2753 line 3: The variable x is not defined.
