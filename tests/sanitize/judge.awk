# Reads the library list (first file), then sanitizer logs; prints every
# report that counts and exits 1 when there was one. A report is a memory
# error, a data race, undefined behaviour, or one leak of a leak report. It is
# ignored only when it has frames, and every frame outside the sanitizer
# runtime lies in a listed library. Of a data race the frames are those of
# the two accesses; where the memory came from and who started the threads
# only say where to look.

function flush() {
    if (text != "" && (ours > 0 || listed == 0)) {
        printf "%s", text
        print "--- (" unitfile ")"
        counted++
    }
    text = ""; ours = 0; listed = 0; inunit = 0; race = 0; judged = 1
}

function start() {
    flush()
    inunit = 1
    unitfile = FILENAME
}

function judge(line,    mod, i, n) {
    if (match(line, /\([^() ]*\+0x[0-9a-f]+\)$/)) {
        mod = substr(line, RSTART + 1, RLENGTH - 2)
        sub(/\+0x[0-9a-f]+$/, "", mod)
        sub(/.*\//, "", mod)
        if (mod ~ /^lib(asan|tsan|ubsan|lsan)\.so/) return
        for (i = 1; i <= nlibs; i++)
            if (index(mod, libs[i]) == 1) { listed++; return }
        ours++
        return
    }
    if (line ~ /libsanitizer\//) return
    ours++
}

FNR == NR {
    sub(/#.*/, "")
    gsub(/[ \t]/, "")
    if ($0 != "") libs[++nlibs] = $0
    next
}

FNR == 1 { flush() }

/^==[0-9]+==ERROR: LeakSanitizer:/ { flush(); next }
/^(Direct|Indirect) leak of / { start() }
/^==[0-9]+==ERROR: / { start() }
/^WARNING: ThreadSanitizer: / { start(); race = $0 ~ /: data race/ }
/: runtime error: / { start() }
/^SUMMARY: / { flush(); next }
/^==================$/ { flush(); next }

inunit {
    text = text $0 "\n"
    if (race && $0 ~ /^  [A-Z]/) judged = $0 ~ /^  (Previous )?(Atomic )?([Rr]ead|[Ww]rite) of size/
    if (judged && $0 ~ /^ *#[0-9]+ /) judge($0)
}

END {
    flush()
    exit (counted > 0 ? 1 : 0)
}
