set r to {title:"Other…", enabled:true}
log title of r -- expect: Other…
set enabled of r to false
log r -- expect: {title:"Other…", enabled:false}
log count of r -- expect: 2
