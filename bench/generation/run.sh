#!/usr/bin/env bash
# The whole-run generation benchmark: yelian generate over a generated corpus of N articles
# (2-6 KB each; half HTML, half text; half GBK, half UTF-8), compared with the floor, a bare
# program that reads every article once and writes one file per article.
#
# Usage: bench/generation/run.sh [N] [--repeat R] [--lists-off-only]
#   N                 number of articles (default 10000)
#   --repeat R        run every measurement R times and keep the best wall time and the best
#                     CPU time (user + system, and user alone) (default 3); the peak memory shown is the
#                     largest of the R runs
#   --lists-off-only  measure only the floor and the run without list pages (for large N,
#                     where list pages make the output grow with the square of N)
#   BENCH_DIR=DIR     keep the corpus and the outputs in DIR (default build/bench-generation);
#                     a tmpfs such as /dev/shm takes the disk's noise out of the figures
#
# Every yelian run uses the design settings (no settings file; the keyword run reads only its words
# from one), template 1 (five random links, description, keywords), shuffled order with a fixed
# seed, one thread. Runs:
#   lists       list pages of 9, keyword insertion off   (compared with the floor)
#   lists+words list pages of 9, keyword insertion on
#   off         list pages off, keyword insertion off
# Wall time is measured around each run; CPU time and peak resident memory come from
# /usr/bin/time -v. The corpus is made once and kept under build/bench-generation/.
set -euo pipefail
cd "$(dirname "$0")/../.."

count=10000
repeat=3
lists_off_only=false
while [ $# -gt 0 ]; do
    case "$1" in
        --repeat) repeat=$2; shift 2 ;;
        --lists-off-only) lists_off_only=true; shift ;;
        -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) count=$1; shift ;;
    esac
done

scripts/setup.sh
build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target yelian generation_floor -j 2 >/dev/null

work=${BENCH_DIR:-$PWD/build/bench-generation}
mkdir -p "$work"
corpus=$work/corpus-$count
stamp=$(sha256sum bench/generation/make_corpus.py | cut -c1-16)
if [ "$(cat "$corpus.done" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$corpus" "$corpus.done"
    echo "Making the corpus of $count articles..."
    python3 bench/generation/make_corpus.py "$count" "$corpus"
    echo "$stamp" >"$corpus.done"
fi
corpus_mb=$(du -sm --apparent-size --exclude=单页目录 "$corpus" | cut -f1)
floor_out=$work/floor-out
site_out=$corpus/单页目录
timing=$work/time.txt

cpu_seconds() {
    sed -n 's/.*\(User\|System\) time (seconds): //p' "$timing" | awk '{ s += $1 } END { print s }'
}
user_seconds() {
    sed -n 's/.*User time (seconds): //p' "$timing"
}
peak_mb() {
    sed -n 's/.*Maximum resident set size (kbytes): //p' "$timing" |
        awk '{ printf "%.1f", $1 / 1024 }'
}

# measure NAME COMMAND...: runs the command $repeat times from empty output folders; sets
# best_seconds and peak.
measure() {
    local name=$1
    shift
    best_seconds=""
    best_cpu=""
    best_user=""
    peak=0
    for ((run = 1; run <= repeat; run++)); do
        rm -rf "$floor_out" "$site_out"
        local start seconds memory
        start=$(date +%s.%N)
        if ! /usr/bin/time -v -o "$timing" "$@" >/dev/null 2>"$work/run.log"; then
            echo "$name failed:" >&2
            cat "$work/run.log" >&2
            exit 1
        fi
        # Measured here rather than read from time -v, whose wall clock has 10 ms steps.
        seconds=$(awk "BEGIN { printf \"%.3f\", $(date +%s.%N) - $start }")
        memory=$(peak_mb)
        if [ -z "$best_seconds" ] || awk "BEGIN { exit !($seconds < $best_seconds) }"; then
            best_seconds=$seconds
        fi
        if awk "BEGIN { exit !($memory > $peak) }"; then peak=$memory; fi
        cpu=$(cpu_seconds)
        if [ -z "$best_cpu" ] || awk "BEGIN { exit !($cpu < $best_cpu) }"; then best_cpu=$cpu; fi
        user=$(user_seconds)
        if [ -z "$best_user" ] || awk "BEGIN { exit !($user < $best_user) }"; then best_user=$user; fi
    done
    output_mb=$({ du -sm --apparent-size "$floor_out" "$site_out" 2>/dev/null || true; } |
        awk '{ s += $1 } END { print s + 0 }')
    printf '%-12s %7.2f s %7.0f pages/s %6.2f s cpu (%5.2f s user) %7.1f MB peak %6d MB written' \
        "$name" "$best_seconds" "$(awk "BEGIN { print $count / $best_seconds }")" "$best_cpu" \
        "$best_user" "$peak" \
        "$output_mb"
}

# The keyword runs read their words from a settings file that holds only the current group: six
# keywords with two link addresses, so that every insertion is a link.
words_settings=$work/words.ini
printf '[随机词组]\r\n当前词=网站建设|关键词|静态页面|文章生成|站长工具|随机链接*http://example.com/a/|http://example.com/b/' |
    iconv -f UTF-8 -t GBK >"$words_settings"
base=("$build_dir/yelian" generate --template 1 --seed 1 --yes --quiet --set 编辑框目录过滤=*)
yelian=("${base[@]}" --settings "$work/no-settings.ini")
yelian_words=("${base[@]}" --settings "$words_settings")

echo "N = $count articles ($corpus_mb MB), best of $repeat runs, $(nproc) cores, one thread"
measure floor "$build_dir/generation_floor" "$corpus" "$floor_out"
floor_seconds=$best_seconds
echo
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }

if [ "$lists_off_only" = false ]; then
    measure lists "${yelian[@]}" --set 选择框列表页=真 --set 编辑框分页=9 --set 选择框启用插词=假 "$corpus"
    echo "   $(ratio "$best_seconds" "$floor_seconds") x floor"
    measure lists+words "${yelian_words[@]}" --set 选择框列表页=真 --set 编辑框分页=9 --set 选择框启用插词=真 \
        "$corpus"
    on_seconds=$best_seconds
    echo "   $(ratio "$best_seconds" "$floor_seconds") x floor"
fi
measure off "${yelian[@]}" --set 选择框列表页=假 --set 选择框启用插词=假 "$corpus"
off_seconds=$best_seconds
echo "   $(ratio "$best_seconds" "$floor_seconds") x floor"
if [ "$lists_off_only" = false ]; then
    echo "lists+words / off: $(ratio "$on_seconds" "$off_seconds")"
fi
rm -rf "$floor_out" "$site_out"
