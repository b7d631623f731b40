log "say \"hi\" \\ done" -- expect: say "hi" \ done
log length of "tab\there" -- expect: 8
log count of characters of "Other…" -- expect: 6
log character 6 of "Other…" -- expect: …
log words of "one two, three" -- expect: {"one", "two", "three"}
log quote & "q" & quote -- expect: "q"
