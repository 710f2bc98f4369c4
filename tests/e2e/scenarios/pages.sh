# The backdrop, the first pages and their cancel points, and the destination rules: nothing is
# installed, and what was there before stays.

# At 1024x768: the blue-to-black backdrop with its title, logo and notice; the destination page
# with the proposed folder; Cancel, Esc and the close box each ask "Exit FileTidemark", and No
# keeps the page and its entry; the licence page likewise; closing it with Yes ends the run
# with "The Installation process has been terminated." over the backdrop. Left behind: every
# file of an earlier installation as it was (Tidemark.Exe, Tidemark._LF, a .LIB and a .DTP),
# no uninstall entry.
scenario_pages_1024() {
  for f in "$dest\\Tidemark.Exe" "$dest\\Tidemark._LF" "$dest\\Tide.LIB" "$dest\\Tide.DTP"; do place_file "$f" "earlier $f"; done
  robot <<'STEPS'
start
wait "Destination Directory" centred focus=104 owner=LFSetUp 104="C:\\PROGRAM FILES\\FILETIDEMARK"
shot main
set 104 "C:\\SOMEWHERE ELSE"
click 2
wait "Exit FileTidemark" 65535="Do you really want to terminate the Setup program?" owner=none centred focus=6
@declined "Destination Directory"
key esc
@declined "Destination Directory"
close
@declined "Destination Directory" '104="C:\\SOMEWHERE ELSE"'
set 104 "C:\\Program Files\\FileTidemark"
key enter
wait "License Agreement" centred focus=1 owner=LFSetUp
shot licence
click 2
@declined "License Agreement"
close
wait "Exit FileTidemark"
key enter
@terminated
@entry -absent
STEPS
  check_gradient main 2
  check_gradient main 720
  check_gradient licence 2
  check_title main
  check_logo main 410 696 "$E2E_LOGO"
  check_notice main 774 748
}

# At 640x480: the backdrop reaching black at row 255 (one row a colour step), the logo at
# 218,408 and the notice at 390,460, the pages centred. Cancelled on the destination page while
# its starting folder is still the setup program's own: the Tidemark.Exe and Tidemark._LF left
# on the disk stay, no destination is made.
scenario_pages_640() {
  place_file 'A:\Tidemark.Exe' "the main program left on the disk"
  place_file 'A:\Tidemark._LF' "an archive left on the disk"
  screen 640x480
  robot <<'STEPS'
start
wait "Destination Directory" centred
shot main
click 2
wait "Exit FileTidemark" centred
key enter
@terminated centred
STEPS
  check_gradient main 2
  check_title main
  check_logo main 218 408 "$E2E_LOGO" 52  # the notice covers the logo's lower right corner
  check_notice main 390 460
  expect_no_file "$dest"
}

# Unsafe or impossible entries on the destination page: OK does nothing visible and the page
# keeps the entry (empty, one letter, a network path, a leading space, no colon second, two new
# levels, an existing file, wildcards, a drive with no volume, the drive the disks are read
# from, a folder too long for the product's longest name). Then the drive-relative C:NEWTIDE is
# accepted and made below the drive's current folder, its root (empty: no NEWTIDE nested in it);
# in a second run the drive root C:\ is accepted. Nothing else is made; C:\TOOLS\notes.txt stays.
scenario_pages_destination_entries() {
  place_file 'C:\TOOLS\notes.txt' "the user's own notes"
  # 247 characters: with "\" and a 12-character name, one more than a path may hold.
  long=C:\\$(printf 'L%.0s' $(seq 244))
  robot <<'STEPS'
start
wait "Destination Directory"
@refused 104 '""' C '\\SERVER\SHARE' '" C:\\TIDE"' 'CX\TIDE' 'C:\NEW\SUB' 'C:\TOOLS\NOTES.TXT' 'C:\TOOLS\*.*'
@refused 104 'Q:\' 'A:\' 'A:\TIDE' "$long"
set 104 C:NEWTIDE
command 1
wait "License Agreement"
command 2
@confirm_exit
@to_licence 'C:\'
click 2
@confirm_exit
STEPS
  expect_no_file 'C:\NEW' 'A:\TIDE' "$long"
  verdict "C:\\NEWTIDE made, empty" '[ -d "$(hostpath C:\\NEWTIDE)" ] && [ -z "$(ls -A "$(hostpath C:\\NEWTIDE)")" ]'
}

# Where the proposal comes from, over runs cancelled on the destination page: when RegDir (a list
# of texts) and ProgramFilesDir (a number) are not text, which count as absent, what a fresh
# system gets, C:\Program Files\FileTidemark; with the programs folder D:\Programs\ (trailing
# backslash) D:\Programs\FileTidemark; with a remembered folder (RegDir) that folder, even
# though it does not exist; an empty RegDir counts as absent. Under Software\Lanternfield, in
# either root, no key is made but the product's, and no value beside it.
scenario_pages_destination_proposal() {
  steps_proposes() { printf 'start\nwait "Destination Directory" 104=%s\ncommand 2\n' "$1"; steps_confirm_exit; }
  reg_file user 'Software\\Lanternfield\\FileTidemark' '"RegDir"=hex(7):45,3a,00,00'
  reg_file system 'Software\\Microsoft\\Windows\\CurrentVersion' '"ProgramFilesDir"=dword:00000007'
  robot <<'STEPS'
@proposes '"C:\\PROGRAM FILES\\FILETIDEMARK"'
regset HKLM "Software\\Microsoft\\Windows\\CurrentVersion" ProgramFilesDir "D:\\Programs\\"
regset HKCU "Software\\Lanternfield\\FileTidemark" RegDir ""
@proposes 'D:\PROGRAMS\FILETIDEMARK'
regset HKCU "Software\\Lanternfield\\FileTidemark" RegDir "E:\\Gone\\Tide"
@proposes 'E:\GONE\TIDE'
reg HKCU "Software\\Lanternfield\\FileTidemark" RegDir "E:\\Gone\\Tide"
STEPS
  expect_no_file "$dest"
  # Wine's registry files hold one section per key that has values or no subkeys.
  local made
  made=$(grep -hio '^\[Software\\\\Lanternfield[^]]*' "$WINEPREFIX"/{user,system}.reg | tr -d '[\\' | sort -u | xargs)
  verdict "only the product's key made (made: $made)" '[ "${made,,}" = softwarelanternfieldfiletidemark ]'
}
