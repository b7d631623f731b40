on pair(a, b)
  return {a, b}
end pair
pair(1)
-- expect runtime error: -1721 line 4: The handler "pair" takes 2 parameters, not 1.
