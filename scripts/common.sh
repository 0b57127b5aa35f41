# shellcheck shell=bash disable=SC2034
# Shared helpers for the scripts in this folder. Source it; do not run it.
#
#   ensure_packages PKG...   install the Debian packages that are missing (as root or via sudo)
#   clang_format_command     print the clang-format to run (warns when it is not version 14)
#   cxx_sources              print the tracked C++ source files, one a line
#   build_preset NAME [TARGET...]  configure the CMake preset NAME when needed, then build it (or
#                            only the targets named)
#   start_postgres           start a throwaway PostgreSQL 15 cluster and export DORVANEL_TEST_PG_URL
#   reset_postgres_db        drop and re-create the test database of that cluster
#   stop_postgres            stop the cluster and remove its folder (safe to call more than once)

DORVANEL_ROOT=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)

# Everything needed to configure and build the project, its tests and benchmarks. Without a
# font, Qt draws every text of a dialog as empty boxes; the dialogs' captions are set in DejaVu
# Sans Condensed (fonts-dejavu-extra), and Qt's own parts of them speak Spanish through Qt's
# translations (qt6-translations-l10n). Our own texts' translations are made with Qt's lupdate and
# lrelease (qt6-l10n-tools) through their CMake package (qt6-tools-dev).
DORVANEL_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-psql qt6-image-formats-plugins qt6-translations-l10n
    qt6-l10n-tools qt6-tools-dev
    fonts-dejavu-core fonts-dejavu-extra
    libsqlite3-dev libpq-dev libssl-dev libgtest-dev libgmock-dev libbenchmark-dev
    qt6-pdf-dev zlib1g-dev
)
# What scripts/check-format needs.
DORVANEL_FORMAT_PACKAGES=(clang-format git)
# What scripts/package needs beyond the build: CPack's Debian generator runs dpkg-shlibdeps
# (dpkg-dev) and file, and lintian checks the packages.
DORVANEL_PACKAGE_PACKAGES=(dpkg-dev file lintian)
# What scripts/docs needs beyond the build.
DORVANEL_DOCS_PACKAGES=(doxygen)
# What scripts/fuzz needs beyond the build: clang 14 and its libFuzzer and sanitizer runtimes.
DORVANEL_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
# The above plus what the test run needs: the demo test draws on an X server of its own (Xvfb)
# through Qt's xcb platform plugin, which Debian 12 ships in libqt6gui6 beside qt6-qpa-plugins;
# the download test runs a window manager there (openbox) and clicks and types (xdotool).
DORVANEL_TEST_PACKAGES=("${DORVANEL_BUILD_PACKAGES[@]}" "${DORVANEL_FORMAT_PACKAGES[@]}" "${DORVANEL_FUZZ_PACKAGES[@]}"
    "${DORVANEL_PACKAGE_PACKAGES[@]}" postgresql time xvfb qt6-qpa-plugins sqlite3 openbox xdotool)

DORVANEL_PG_BIN=${DORVANEL_PG_BIN:-/usr/lib/postgresql/15/bin}
# The server listens on a Unix socket only; the port just names the socket file
# (SOCKETDIR/.s.PGSQL.PORT), so it cannot clash with another server.
DORVANEL_PG_PORT=${DORVANEL_PG_PORT:-54329}
DORVANEL_PG_DB=dorvanel_test
DORVANEL_PG_DIR=${DORVANEL_PG_DIR:-}

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
    if [[ $EUID -eq 0 ]]; then
        "$@"
    else
        sudo -- "$@"
    fi
}

# Runs a command as the operating-system user "postgres" (the server refuses to run as root).
as_postgres() {
    if [[ $EUID -eq 0 ]]; then
        runuser -u postgres -- "$@"
    else
        sudo -u postgres -- "$@"
    fi
}

ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if [[ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != "install ok installed" ]]; then
            missing+=("$pkg")
        fi
    done
    if [[ ${#missing[@]} -eq 0 ]]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
}

# .clang-format was tuned with clang-format 14, and other major versions lay out some code
# differently, so version 14 is preferred when it is installed. CLANG_FORMAT names another.
clang_format_command() {
    local command=${CLANG_FORMAT:-}
    if [[ -z $command ]]; then
        command=$(command -v clang-format-14 || command -v clang-format || true)
    fi
    if [[ -z $command ]] || ! command -v "$command" >/dev/null; then
        echo "clang-format not found${command:+: $command}" >&2
        return 1
    fi
    local version
    version=$("$command" --version)
    if [[ ! $version =~ version\ 14\. ]]; then
        echo "warning: .clang-format was tuned for clang-format 14; $command is: $version" >&2
    fi
    echo "$command"
}

# The C++ sources git tracks, relative to the repository root. A file deleted from the working
# tree but still in the index is left out.
cxx_sources() {
    local file
    git -C "$DORVANEL_ROOT" ls-files -z -- '*.h' '*.hpp' '*.cpp' '*.cc' | while IFS= read -r -d '' file; do
        if [[ -f $DORVANEL_ROOT/$file ]]; then
            printf '%s\n' "$file"
        fi
    done
    return "${PIPESTATUS[0]}"
}

# Configures again when CMakePresets.json changed since the folder was configured through it: a
# cache variable a preset sets (DORVANEL_WERROR, say) reaches the cache only through --preset.
build_preset() {
    local preset=$1
    shift
    local targets=()
    if (($# > 0)); then
        targets=(--target "$@")
    fi
    (
        cd -- "$DORVANEL_ROOT" || exit
        local stamp="build/$preset/.configured-by-preset"
        if [[ ! -f "build/$preset/build.ninja" || ! -f $stamp || CMakePresets.json -nt $stamp ]]; then
            cmake --preset "$preset" || exit
            touch "$stamp"
        fi
        cmake --build --preset "$preset" "${targets[@]}"
    )
}

# Starts the cluster and exports
#
#   DORVANEL_TEST_PG_URL=postgresql://postgres@:PORT/dorvanel_test?host=SOCKETDIR
#
# e.g. postgresql://postgres@:54329/dorvanel_test?host=/tmp/dorvanel-pg.Ab12Cd
# The host part is empty and the socket folder goes in the "host" query parameter; the
# port stays in the authority part. psql/libpq accept this form as is
# (psql "$DORVANEL_TEST_PG_URL"), and so does QUrl (port() gives PORT, the query's host the
# socket folder). Authentication is "trust": no password.
#
# Installs traps so the cluster is stopped on exit, on failure and on Ctrl-C/SIGTERM; they
# replace any EXIT/INT/TERM traps the sourcing script had set before.
start_postgres() {
    if [[ -n $DORVANEL_PG_DIR ]]; then
        return 0 # already running
    fi
    local dir
    # A short path under /tmp: the postgres user must be able to reach it, and the socket
    # path has a length limit of about 100 characters.
    dir=$(mktemp -d /tmp/dorvanel-pg.XXXXXX) || return 1
    DORVANEL_PG_DIR=$dir
    trap stop_postgres EXIT
    trap 'stop_postgres; exit 130' INT
    trap 'stop_postgres; exit 143' TERM

    # The folder holds the socket, so other users (the tests) need to enter it; the data
    # folder below it stays private to postgres, as initdb requires.
    if ! { chmod 755 "$dir" && as_root chown postgres:postgres "$dir"; }; then
        echo "start_postgres: cannot hand $dir to user postgres" >&2
        return 1
    fi
    # Run the server tools from inside the folder: they complain when the current
    # folder (for instance /root) is not readable by postgres.
    local out
    if ! out=$(cd "$dir" && as_postgres "$DORVANEL_PG_BIN/initdb" -D "$dir/data" -U postgres -A trust \
            -E UTF8 --no-locale --no-sync 2>&1); then
        printf 'start_postgres: initdb failed:\n%s\n' "$out" >&2
        return 1
    fi
    if ! (cd "$dir" && as_postgres "$DORVANEL_PG_BIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" \
            -o "-k $dir -c listen_addresses='' -p $DORVANEL_PG_PORT -c fsync=off" \
            -w -t 60 start >/dev/null); then
        echo "start_postgres: the server did not start:" >&2
        as_postgres cat "$dir/server.log" >&2 || true
        return 1
    fi
    local tries=0
    until "$DORVANEL_PG_BIN/pg_isready" -q -h "$dir" -p "$DORVANEL_PG_PORT"; do
        if ((++tries > 60)); then
            echo "start_postgres: the server is not accepting connections" >&2
            return 1
        fi
        sleep 0.5
    done
    "$DORVANEL_PG_BIN/createdb" -h "$dir" -p "$DORVANEL_PG_PORT" -U postgres "$DORVANEL_PG_DB" || return 1
    export DORVANEL_TEST_PG_URL="postgresql://postgres@:$DORVANEL_PG_PORT/$DORVANEL_PG_DB?host=$dir"
}

# Gives the next test run an empty database.
reset_postgres_db() {
    [[ -n $DORVANEL_PG_DIR ]] || return 0
    "$DORVANEL_PG_BIN/dropdb" -h "$DORVANEL_PG_DIR" -p "$DORVANEL_PG_PORT" -U postgres \
        --if-exists --force "$DORVANEL_PG_DB" &&
        "$DORVANEL_PG_BIN/createdb" -h "$DORVANEL_PG_DIR" -p "$DORVANEL_PG_PORT" -U postgres "$DORVANEL_PG_DB"
}

stop_postgres() {
    local dir=$DORVANEL_PG_DIR
    [[ -n $dir ]] || return 0
    DORVANEL_PG_DIR=
    unset DORVANEL_TEST_PG_URL
    if [[ -f $dir/data/postmaster.pid ]]; then
        (cd "$dir" && as_postgres "$DORVANEL_PG_BIN/pg_ctl" -D "$dir/data" -m fast -w stop) >/dev/null 2>&1 || true
    fi
    as_root rm -rf -- "$dir" >/dev/null 2>&1 || true
}
