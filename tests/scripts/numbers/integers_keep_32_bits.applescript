log 2147483647 -- expect: 2147483647
log -2147483648 -- expect: -2147483648
log 2147483647 - 1 + 1 -- expect: 2147483647
log class of 2147483647 -- expect: integer
log (2147483647 as text) as integer -- expect: 2147483647
