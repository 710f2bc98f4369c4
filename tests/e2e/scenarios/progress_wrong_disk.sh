# A full installation from three disks with the robot changing the disk in drive A:, once with
# no disk in: OK on the prompt then shows the WrongDiskBox (owned by the page, no caption) and
# the same prompt again. Also times the unpacking page (decoding and splitting) as the user
# sees it, for the record only.
sees "\"Please Insert Disk number 2\"; OK with the drive empty: \"This is not the appropriate" \
     "disk...\" with an empty caption, then the prompt again; disks 2 and 3; \"Uncompressing the" \
     "FileTidemark files.\"; the program group page; the closing prompt, answered No"
leaves "every product file byte for byte (the help file in C:\\windows\\Help), Tidemark.Exe cut" \
       "to the main program, no Tidemark._LF"
robot <<'STEPS'
@to_copying
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
owner "#32770"
host disk empty
click 1
wait "" 65535="This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter"
owner "#32770"
click 1
wait "FileTidemark" 65535="Please Insert Disk number 2"
host disk disk2
click 1
@disks 3
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files."
@finish
STEPS
expect_installed "$dest"
expect_file "$dest\\Tidemark.Exe" "$E2E_PRODUCT/Tidemark.Exe"
# Only one wrong-disk box and one repeated prompt: the swaps took effect at once.
prompts=$(grep -c '"ev":"window".*"Please Insert Disk number' "$E2E_RESULTS/robot.log")
if [ "$prompts" = 3 ]; then pass "three disk prompts (2, 2 again, 3)"
else fail "$prompts disk prompts, expected 3"; fi
# From the unpacking page's appearance to the program group page's, as the robot saw them (it
# polls every 5 ms and lets each page settle before logging it, so this is approximate).
t_unpack=$(grep '"ev":"window"' "$E2E_RESULTS/robot.log" | grep -F 'Uncompressing the FileTidemark' |
           head -1 | sed 's/^{"t":\([0-9]*\),.*/\1/')
t_group=$(grep '"ev":"window"' "$E2E_RESULTS/robot.log" | grep -F '"caption":"Program Group"' |
          head -1 | sed 's/^{"t":\([0-9]*\),.*/\1/')
if [ -n "$t_unpack" ] && [ -n "$t_group" ]; then
    say "measured: unpacking page (decoding and splitting) took about $((t_group - t_unpack)) ms"
fi
