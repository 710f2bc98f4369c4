# The disk goes in while the prompt is up and the user then presses Cancel: the volume's file is
# there by then, so the wait ends as if OK had been pressed and the installation goes on.
sees "\"Please Insert Disk number 2\"; disk 2 put in, Cancel pressed: the copy goes on; the" \
     "same for disk 3; the program group page; the closing prompt"
leaves "the whole product installed, no Tidemark._LF"
robot <<'STEPS'
@to_copying
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk disk2
click 2
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 2
wait "Program Group" 120000
click 2
@closing
STEPS
expect_installed "$dest"
expect_not_seen 'The Installation process has been terminated' "terminated message"
