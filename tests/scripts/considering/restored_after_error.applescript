try
  considering case
    error "out"
  end considering
end try
log "A" is "a" -- expect: true
