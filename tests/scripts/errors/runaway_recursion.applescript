on down(n)
  return down(n + 1)
end down
down(1)
-- expect runtime error: -2706 line 2: Stack overflow.
