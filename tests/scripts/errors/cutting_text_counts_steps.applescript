set many to {}
repeat 2000 times
  set end of many to "x"
end repeat
set AppleScript's text item delimiters to many
set t to "ab"
repeat 15 times
  set t to t & t
end repeat
log (count of text items of t) > 0
-- expect runtime error: -2706
