# The backdrop and the first two pages at 1024x768, the cancel questions on both pages, and an
# earlier installation in the destination that a stopped run leaves alone.
sees "the blue-to-black backdrop with its title, logo and notice; the destination page with the" \
     "proposed folder; Cancel, Esc and the close box each ask \"Exit FileTidemark\", and No keeps" \
     "the page as it was; the licence page likewise; closing it with Yes ends the run with" \
     "\"The Installation process has been terminated.\" over the backdrop"
leaves "every file of the earlier installation as it was: Tidemark.Exe, Tidemark._LF, a .LIB and a" \
       ".DTP in the destination; no uninstall entry"
for f in Tidemark.Exe Tidemark._LF Tide.LIB Tide.DTP; do place_file "$dest\\$f" "earlier $f"; done
robot <<'STEPS'
start
wait "Destination Directory"
centred
focus 104
itext 104 "C:\\Program Files\\FileTidemark"
text 1 OK
text 2 Cancel
text 65535 "Please enter the drive and directory folder where you would like FileTidemark to be located. To accept the default drive and directory simply press ENTER."
owner LFSetUp
shot main
# Cancel, Esc and the close box all ask first; No keeps the page and its field as they were.
set 104 "C:\\SOMEWHERE ELSE"
click 2
wait "Exit FileTidemark" 65535="Do you really want to terminate the Setup program?"
owner none
centred
focus 6
shot main-confirm
@declined "Destination Directory"
text 104 "C:\\SOMEWHERE ELSE"
key esc
@declined "Destination Directory"
close
@declined "Destination Directory"
text 104 "C:\\SOMEWHERE ELSE"
set 104 "C:\\Program Files\\FileTidemark"
key enter
wait "License Agreement"
centred
focus 1
text 1 "I Agree"
text 2 Exit
text 101 "You must agree to the terms of the above License Agreement to install and use FileTidemark. If you do not agree, click on the Exit button."
text 102 "IMPORTANT: Please read the following License Agreement"
style 0 0x50200804 0x200
inset 0 10 10 10 80
owner LFSetUp
shot licence
click 2
@declined "License Agreement"
close
wait "Exit FileTidemark"
key enter
wait "FileTidemark" 65535="The Installation process has been terminated."
owner LFSetUp
shot terminated
click 1
exit 0
STEPS
check_gradient main 2
check_gradient main 720
check_gradient licence 2
check_title main
check_logo main 410 696 "$E2E_LOGO"
check_notice main 774 748
for f in Tidemark.Exe Tidemark._LF Tide.LIB Tide.DTP; do expect_unchanged "$dest\\$f"; done
expect_no_uninstall_entry
