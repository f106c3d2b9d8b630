# How alike two recordings sound over time: reads two sox "dat" texts (time, then one value per
# channel, 8000 samples per second), turns each into a loudness envelope of 10 ms frames
# smoothed over 90 ms (so that notes landing a frame early or late in one run still line up),
# and prints the best Pearson correlation of a window of the first against the second shifted
# by up to +/- MAXLAG frames.
# Usage: awk -v FROM=300 -v FRAMES=400 -v MAXLAG=150 -f envelope_match.awk a.dat b.dat
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
    best = -2
    for (lag = -MAXLAG; lag <= MAXLAG; lag++) {
        if (FROM + lag < 1 || FROM + FRAMES + lag > frames[2] || FROM + FRAMES > frames[1]) continue
        sa = sb = saa = sbb = sab = 0
        for (i = 0; i < FRAMES; i++) {
            a = env[1, FROM + i]
            b = env[2, FROM + i + lag]
            sa += a; sb += b; saa += a * a; sbb += b * b; sab += a * b
        }
        va = saa - sa * sa / FRAMES
        vb = sbb - sb * sb / FRAMES
        if (va <= 0 || vb <= 0) continue
        r = (sab - sa * sb / FRAMES) / sqrt(va * vb)
        if (r > best) best = r
    }
    printf "%.3f\n", best
}
