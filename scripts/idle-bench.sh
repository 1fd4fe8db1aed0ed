#!/usr/bin/env bash
# What the desktop program costs while it waits for its next check: starts
# the built mivo on a private Xvfb display with settings of its own (one
# account, the default interval of 20 minutes), lets it settle, then counts
# over a minute how often its threads were switched in (voluntary and
# involuntary context switches of every thread, from /proc) and reads its
# resident memory. Once without a window manager and once under openbox when
# it is installed; the bare window of bench/ is measured the same way as the
# yardstick for memory. Run by hand; nothing here is part of the tests.
#
#   scripts/idle-bench.sh               # 60 s each
#   IDLE_SECONDS=300 scripts/idle-bench.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MIVO_BENCH_BUILD_DIR:-$root/build-bench}"
seconds="${IDLE_SECONDS:-60}"
# Start-up, the first activation, and the ten seconds after which the text
# cursor stops blinking.
settle="${IDLE_SETTLE_SECONDS:-15}"

for program in Xvfb; do
    command -v "$program" > /dev/null || { echo "idle-bench: $program is needed" >&2; exit 1; }
done

generator=()
if command -v ninja > /dev/null 2>&1; then
    generator=(-G Ninja)
fi
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DMIVO_BUILD_BENCH=ON -DMIVO_BUILD_GUI=ON -DMIVO_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target mivo mivo_bare_window > /dev/null

work="$(mktemp -d)"
children=()
cleanup() {
    for pid in "${children[@]}"; do
        kill "$pid" 2> /dev/null || true
    done
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# One account (password "abc" in its stored form) on a port nobody answers;
# the first check would come only after 20 minutes.
settings_dir="$work/config/Mivo.exe/Mivo.exe"
mkdir -p "$settings_dir" "$work/home"
printf '%s\r\n' "UN1=bench" "PW1=gckhlecegeffoagdkcfcfhgefa" "PO1=127.0.0.1:1" \
    "TimeInterval=20" "Show_as_icon=YES" "Show_as_button=YES" "version=45" \
    > "$settings_dir/Settings"

# The sum of both kinds of context switches over all threads of a process.
switches() {
    cat /proc/"$1"/task/*/status 2> /dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { sum += $2 } END { print sum + 0 }'
}

resident_kib() {
    awk '/^VmRSS:/ { print $2 }' /proc/"$1"/status
}

# measure LABEL WINDOW_MANAGER PROGRAM [ARGUMENTS...]: prints one table row.
measure() {
    local label="$1" manager="$2"
    shift 2
    local display_file="$work/display" server manager_pid="" program_pid
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3> "$display_file" \
        > /dev/null 2>&1 &
    server=$!
    children+=("$server")
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    local display=":$(head -n 1 "$display_file")"
    if [ "$manager" != none ]; then
        DISPLAY="$display" "$manager" > /dev/null 2>&1 &
        manager_pid=$!
        children+=("$manager_pid")
        sleep 1
    fi
    local output="$work/output"
    env -u DBUS_SESSION_BUS_ADDRESS DISPLAY="$display" QT_QPA_PLATFORM=xcb \
        HOME="$work/home" XDG_CONFIG_HOME="$work/config" "$@" > "$output" 2>&1 &
    program_pid=$!
    children+=("$program_pid")
    sleep "$settle"
    local before after rss
    before="$(switches "$program_pid")"
    sleep "$seconds"
    after="$(switches "$program_pid")"
    if ! kill -0 "$program_pid" 2> /dev/null; then
        echo "| $label | $manager | ended during the measurement | | |"
        sed 's/^/    /' "$output" | tail -n 20 >&2
        kill ${manager_pid:+"$manager_pid"} "$server" 2> /dev/null || true
        wait "$program_pid" ${manager_pid:+"$manager_pid"} "$server" 2> /dev/null || true
        return
    fi
    rss="$(resident_kib "$program_pid")"
    # The program first: one that loses its display on the way out aborts.
    kill "$program_pid" 2> /dev/null || true
    wait "$program_pid" 2> /dev/null || true
    kill ${manager_pid:+"$manager_pid"} "$server" 2> /dev/null || true
    wait ${manager_pid:+"$manager_pid"} "$server" 2> /dev/null || true
    awk -v label="$label" -v manager="$manager" -v n="$((after - before))" -v s="$seconds" \
        -v rss="$rss" 'BEGIN { printf "| %s | %s | %d | %.3f | %.1f |\n",
                                      label, manager, n, n / s, rss / 1024 }'
    echo "$label $manager $((after - before)) $rss" >> "$work/results"
}

managers=(none)
if command -v openbox > /dev/null 2>&1; then
    managers+=(openbox)
else
    echo "idle-bench: openbox is not installed; measuring without a window manager only" >&2
fi

echo "Idle for ${seconds} s after ${settle} s of start-up:"
echo
echo "| program | window manager | context switches | per second | resident MiB |"
echo "|---|---|---|---|---|"
for manager in "${managers[@]}"; do
    measure mivo "$manager" "$build/src/gui/mivo"
    measure "bare window" "$manager" "$build/bench/mivo_bare_window"
    measure "bare window with text" "$manager" "$build/bench/mivo_bare_window" --text
done

echo
# Goals: at most 0.25 wake-ups a second, and no more than 4 MiB above the
# bare window's resident memory.
awk -v s="$seconds" '
    $1 == "mivo" { switches[$2] = $3; mivo[$2] = $4 }
    $1 == "bare" && $2 == "window" && NF == 5 { bare[$3] = $5 }
    END {
        for (m in switches) {
            rate = switches[m] / s
            extra = (mivo[m] - bare[m]) / 1024
            printf "%s: %.3f wake-ups/s (goal 0.25: %s), %.1f MiB above the bare window (goal 4: %s)\n",
                m, rate, rate <= 0.25 ? "met" : "missed", extra, extra <= 4 ? "met" : "missed"
        }
    }' "$work/results"
