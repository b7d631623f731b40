tell window "Main"
  tell progress indicator "busy"
    start
  end tell
  update
  log animating of progress indicator "busy" -- expect: true
  stop progress indicator "busy"
  log animating of progress indicator "busy" -- expect: false
end tell
