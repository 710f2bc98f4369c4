# Cancel on the destination page and on the licence page, with an earlier installation present
# both beside the setup program (the page's starting folder) and in the proposed destination.
sees "Cancel and Yes on the destination page: \"The Installation process has been terminated.\"" \
     "over the backdrop, exit 0; a second run, Exit and Yes on the licence page: the same"
leaves "every file of the earlier installation as it was: Tidemark.Exe, Tidemark._LF, a .LIB and a" \
       ".DTP in the destination and Tidemark.Exe and Tidemark._LF on disk 1; no uninstall entry"
for f in Tidemark.Exe Tidemark._LF Tide.LIB Tide.DTP; do place_file "$dest\\$f" "earlier $f"; done
place_file 'A:\Tidemark.Exe' "the main program left on the disk"
place_file 'A:\Tidemark._LF' "an archive left on the disk"
robot <<'STEPS'
start
wait "Destination Directory"
click 2
@confirm_exit
@to_licence
click 2
@confirm_exit
STEPS
for f in Tidemark.Exe Tidemark._LF Tide.LIB Tide.DTP; do expect_unchanged "$dest\\$f"; done
expect_unchanged 'A:\Tidemark.Exe'
expect_unchanged 'A:\Tidemark._LF'
expect_no_uninstall_entry
