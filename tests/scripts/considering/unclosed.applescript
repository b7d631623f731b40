ignoring case
  log 1
end
-- expect error: -2741 line 3: Expected "ignoring" but found end of line.
