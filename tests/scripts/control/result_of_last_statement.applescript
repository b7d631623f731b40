set x to 2
x * 21
-- expect result: 42
