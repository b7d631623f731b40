global counter
set counter to 1
on bump()
  set counter to counter + 1
end bump
bump()
bump()
log counter -- expect: 3
