set r to {units:"Pixels", horizontalUnits:"Millimetres"}
log r -- expect: {units:"Pixels", horizontalUnits:"Millimetres"}
log horizontalUnits of r -- expect: Millimetres
log HORIZONTALUNITS of r -- expect: Millimetres
set horizontalunits of r to "Inches"
log r's horizontalUnits -- expect: Inches
log r & {HorizontalUnits:"Points", extra:1} -- expect: {units:"Pixels", horizontalUnits:"Inches", extra:1}
log r = {HORIZONTALUNITS:"Inches", units:"Pixels"} -- expect: true
set {horizontalUnits:h} to r
log h -- expect: Inches
log {Title:"x", Enabled:true} -- expect: {title:"x", enabled:true}
log verticalUnits of r
-- expect runtime error: -1728 line 12: Can't get verticalUnits of {units:"Pixels", horizontalUnits:"Inches"}.
