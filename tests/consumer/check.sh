#!/usr/bin/env bash
# Usage: check.sh BUILD_DIR SOURCE_DIR
#
# Installs the build tree BUILD_DIR into a temporary prefix, then builds the small host in
# tests/consumer against that prefix only, once through the CMake package and once through
# pkg-config alone, and runs both. SOURCE_DIR is the project's source root (the folder holding
# tests/consumer); the consumer folder itself is accepted too.
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

# The installed command-line host starts from its prefix alone, wherever that is.
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$prefix/install/bin/dorvanel" help >/dev/null

# shellcheck source=tests/consumer/builds.sh
source "$consumer_dir/builds.sh"
consumer_settings "$build_dir"
build_and_run_consumers "$consumer_dir" "$prefix/install" "$(dirname -- "$library")" "$prefix"
