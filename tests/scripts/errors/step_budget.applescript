repeat
end repeat
-- expect runtime error: -2706
