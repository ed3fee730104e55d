# How a skin folder becomes a package: one solid 7z archive (LZMA2, 768 KiB dictionary,
# compressed header, no file times), run from inside the folder so that names are relative to
# it with their case kept.
set(SKIN_7Z_OPTIONS -bso0 -bsp0 -t7z -m0=lzma2 -mx=9 -md=768k -ms=on -mhc=on -mtm=off -mtc=off
    -mta=off)
