log (25.4 * 3) as text -- expect: 76.2
log (0.1 + 0.2) as text -- expect: 0.3
log "Width: " & 25.4 * 3 & " mm" -- expect: Width: 76.2 mm
log 1.0E+20 -- expect: 1.0E+20
log 3.0 -- expect: 3.0
log -2.5 -- expect: -2.5
log 9999.5 -- expect: 9999.5
log 12345.6 -- expect: 1.23456E+4
log 0.001 -- expect: 0.001
log 0.00015 -- expect: 1.5E-4
log pi -- expect: 3.14159265359
log 2 / 3 -- expect: 0.666666666667
log {1.5, 0.1 + 0.2} -- expect: {1.5, 0.3}
tell window "Main" to set contents of text field "size" to 25.4 * 3
log contents of text field "size" of window "Main" -- expect: 76.2
