# Chinese, Japanese and Korean text in the test prefix. Wine draws captions, menus and message boxes
# in faces without East Asian glyphs and falls back, through its font links, on the system's East
# Asian user-interface faces, which no Debian package has; these substitutes name Debian's Noto CJK
# fonts in their place (each locale keeps its own order of fallbacks). The faces the translated
# dialogs name get the Noto CJK face of their kind. regedit takes the non-ASCII names only from a
# UTF-16 file, which this writes from the text below.
reg=$RIG_DIR/run/cjk-fonts.reg
{
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS UI Gothic"="Noto Sans CJK JP"
"SimSun"="Noto Sans CJK SC"
"PMingLiU"="Noto Sans CJK TC"
"Gulim"="Noto Sans CJK KR"
"Batang"="Noto Serif CJK KR"
"ＭＳ 明朝"="Noto Serif CJK JP"
"宋体"="Noto Serif CJK SC"
"新細明體"="Noto Serif CJK TC"
EOF
} >"$reg" || exit 1
"$WINE" regedit /S "$("$WINE" winepath -w "$reg" 2>/dev/null)"
