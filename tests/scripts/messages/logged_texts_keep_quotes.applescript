log {"a", 1, {"b"}} -- expect: {"a", 1, {"b"}}
log {title:"Say \"hi\"", path:"C:\\x"} -- expect: {title:"Say \"hi\"", path:"C:\\x"}
log "Say \"hi\"" -- expect: Say "hi"
