# How alike the music of two recordings sounds over time: reads two sox "dat" texts (time, then
# one value per channel, 8000 samples per second) and turns each into a loudness envelope of
# 10 ms frames smoothed over 90 ms (so that notes landing a frame early or late in one run still
# line up). In each recording the music starts at its onset, the end of the last 100 ms of
# silence before frame LIMIT1 (first recording) or LIMIT2 (second): the gap between the sound of
# the choice that starts a game and the game's music. Prints the best Pearson correlation of the
# FRAMES frames from AFTER frames past the first onset against as many from AFTER frames past
# the second, shifted further by up to +/- MAXLAG frames.
# Usage: awk -v LIMIT1=480 -v LIMIT2=510 -v AFTER=50 -v FRAMES=1000 -v MAXLAG=25 \
#            -f envelope_match.awk a.dat b.dat
FNR == 1 { file++; n = 0; sum = 0 }
/^;/ { next }
{
    sum += $2 * $2
    if (++n == 80) {
        frames[file]++
        raw[file, frames[file]] = sqrt(sum / n)
        n = 0
        sum = 0
    }
}

# The frame after the last run of at least 10 silent frames that ends before frame `limit` of
# recording f; 0 when there is none.
function onset(f, limit,    i, quiet, found) {
    quiet = 0
    found = 0
    for (i = 1; i <= frames[f] && i <= limit; i++) {
        if (raw[f, i] < 0.01) {
            quiet++
        } else {
            if (quiet >= 10) found = i
            quiet = 0
        }
    }
    return found
}

END {
    for (f = 1; f <= 2; f++) {
        for (i = 1; i <= frames[f]; i++) {
            s = c = 0
            for (j = i - 4; j <= i + 4; j++) {
                if (j >= 1 && j <= frames[f]) { s += raw[f, j]; c++ }
            }
            env[f, i] = s / c
        }
    }
    from1 = onset(1, LIMIT1)
    from2 = onset(2, LIMIT2)
    if (from1 == 0 || from2 == 0) {
        print "envelope_match: no silence before the music in recording " (from1 ? 2 : 1) > "/dev/stderr"
        exit 2
    }
    from1 += AFTER
    from2 += AFTER
    best = -2
    for (lag = -MAXLAG; lag <= MAXLAG; lag++) {
        if (from2 + lag < 1 || from2 + FRAMES + lag > frames[2] || from1 + FRAMES > frames[1]) continue
        sa = sb = saa = sbb = sab = 0
        for (i = 0; i < FRAMES; i++) {
            a = env[1, from1 + i]
            b = env[2, from2 + i + lag]
            sa += a; sb += b; saa += a * a; sbb += b * b; sab += a * b
        }
        va = saa - sa * sa / FRAMES
        vb = sbb - sb * sb / FRAMES
        if (va <= 0 || vb <= 0) continue
        r = (sab - sa * sb / FRAMES) / sqrt(va * vb)
        if (r > best) best = r
    }
    if (best == -2) {
        print "envelope_match: the recordings are too short for the window" > "/dev/stderr"
        exit 2
    }
    printf "%.3f\n", best
}
