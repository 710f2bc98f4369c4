# A destination whose parent cannot be written (a read-only drive): the folder cannot be created.
sees "OK on R:\\TIDE does nothing visible, the page stays with the entry; Cancel and Yes end the" \
     "run with the terminated message"
leaves "nothing: no folder, no file, no uninstall entry"
tmpfs_drive R 1m ro
robot <<'STEPS'
start
wait "Destination Directory"
set 104 R:\TIDE
command 1
stays 500
text 104 R:\TIDE
click 2
@confirm_exit
STEPS
expect_no_folder 'R:\TIDE'
expect_no_uninstall_entry
