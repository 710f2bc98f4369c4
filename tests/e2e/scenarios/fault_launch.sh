# Yes on the closing prompt starts the installed program, and the setup program ends at once.
sees "the closing prompt; Yes: FileTidemark's window opens (it closes itself in this test) and" \
     "the setup program has ended with exit code 0"
leaves "the product installed; the sample program's mark file Tidemark.ran beside it, naming" \
       "the command line it was started with"
export TIDEMARK_AUTOCLOSE=1
needs_disks
robot <<'STEPS'
@install_all_disks 'C:\TIDE'
@finish 6
STEPS
expect_installed 'C:\TIDE'
# The launched program runs on its own; it writes its mark as it starts.
for i in $(seq 50); do [ -f "$(hostpath 'C:\TIDE\Tidemark.ran')" ] && break; sleep 0.1; done
expect_file 'C:\TIDE\Tidemark.ran'
