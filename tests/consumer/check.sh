#!/usr/bin/env bash
# Usage: check.sh BUILD_DIR SOURCE_DIR
#
# Installs the build tree BUILD_DIR into a temporary prefix, then configures, builds and runs
# the small project in tests/consumer against that prefix only. SOURCE_DIR is the project's
# source root (the folder holding tests/consumer); the consumer folder itself is accepted too.
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 BUILD_DIR SOURCE_DIR" >&2
    exit 2
fi
build_dir=$(cd -- "$1" && pwd)
if [[ -f $2/tests/consumer/CMakeLists.txt ]]; then
    consumer_dir=$(cd -- "$2/tests/consumer" && pwd)
else
    consumer_dir=$(cd -- "$2" && pwd)
fi

prefix=$(mktemp -d)
trap 'rm -rf -- "$prefix"' EXIT

cache_value() { # NAME -> the value in BUILD_DIR/CMakeCache.txt, empty when unset
    sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt" | head -n 1
}

cmake --install "$build_dir" --prefix "$prefix/install" >/dev/null

# What a host includes carries no database driver type and nothing of Qt SQL or Widgets.
if grep -nwE 'sqlite3|sqlite3_stmt|PGconn|QSql[A-Za-z]*|QDialog|QWidget' "$prefix/install/include/Dorvanel/"*.h; then
    echo "check.sh: the installed headers above name driver or widget types" >&2
    exit 1
fi

# The dialogs' not-available picture lies beside the installed library.
library=$(find "$prefix/install" -name 'libDorvanel.so' -print -quit)
if [[ ! -s $(dirname -- "$library")/resource/NoDisponible.jpg ]]; then
    echo "check.sh: resource/NoDisponible.jpg is not installed beside $library" >&2
    exit 1
fi

# The library exports the public interface only: every name of the namespace that it exports is
# declared in an installed header, and nothing of its forms or of Qt's templates is exported.
unknown=()
while read -r name; do
    grep -qw -- "$name" "$prefix/install/include/Dorvanel/"*.h || unknown+=("$name")
done < <(nm -DC --defined-only "$library" | grep -o 'dorvanel::[A-Za-z_][A-Za-z0-9_]*' | sed 's/^dorvanel:://' | sort -u)
if [[ ${#unknown[@]} -gt 0 ]] || nm -DC --defined-only "$library" | grep -E '^[0-9a-f]+ [A-Za-z] (Ui_|Q[A-Za-z:]*<)'; then
    echo "check.sh: the library exports names that no installed header declares: ${unknown[*]}" >&2
    exit 1
fi

# Same compiler, build type and extra search paths (e.g. for Qt) as the library's build.
cache_prefix=$(cache_value CMAKE_PREFIX_PATH)
args=(
    -G Ninja
    -S "$consumer_dir" -B "$prefix/build"
    "-DCMAKE_PREFIX_PATH=$prefix/install${cache_prefix:+;$cache_prefix}"
)
compiler=$(cache_value CMAKE_CXX_COMPILER)
if [[ -n $compiler ]]; then args+=("-DCMAKE_CXX_COMPILER=$compiler"); fi
build_type=$(cache_value CMAKE_BUILD_TYPE)
if [[ -n $build_type ]]; then args+=("-DCMAKE_BUILD_TYPE=$build_type"); fi
# A sanitizer build of the library needs the sanitizer runtime in the program too.
if [[ $(cache_value DORVANEL_SANITIZE) =~ ^(ON|1|TRUE|YES)$ ]]; then
    args+=("-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined"
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
    export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
fi

# The installed command-line host starts from its prefix alone, wherever that is.
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$prefix/install/bin/dorvanel" help >/dev/null

cmake "${args[@]}"
cmake --build "$prefix/build"

export LD_LIBRARY_PATH="$prefix/install/lib:$prefix/install/lib/x86_64-linux-gnu${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$prefix/build/dorvanel_consumer"
