# The backdrop and the first pages on a 640x480 screen.
sees "the backdrop reaching black at row 255 (one row a colour step), the logo at 218,408 and the" \
     "notice at 390,460; the pages centred on the small screen"
leaves "nothing: the run is cancelled on the destination page, while the page's starting folder is" \
       "still the setup program's own: the Tidemark.Exe and Tidemark._LF left there stay"
place_file 'A:\Tidemark.Exe' "the main program left on the disk"
place_file 'A:\Tidemark._LF' "an archive left on the disk"
screen 640x480
robot <<'STEPS'
start
wait "Destination Directory"
centred
focus 104
shot main
click 2
wait "Exit FileTidemark"
centred
key enter
wait "FileTidemark" 65535="The Installation process has been terminated."
owner LFSetUp
centred
click 1
exit 0
STEPS
check_gradient main 2
check_title main
# The notice (from 390,460) covers the logo's lower right corner on this screen.
check_logo main 218 408 "$E2E_LOGO" 52
check_notice main 390 460
expect_no_folder "C:\\Program Files\\FileTidemark"
expect_unchanged 'A:\Tidemark.Exe'
expect_unchanged 'A:\Tidemark._LF'
