#!/usr/bin/env bash
# Usage: check.sh BUILD_DIR SOURCE_DIR VERSION
#
# Makes the Debian packages of the build tree BUILD_DIR with CPack into a temporary folder,
# unpacks them (dpkg-deb -x) into an empty root, and checks that root as a user of the packages
# would find it: the runtime package named after the library's SONAME, no search path in the
# packaged binaries, the picture and the extraction program beside the library; the host in
# tests/consumer (SOURCE_DIR is the project's source root) built against the root through the
# CMake package and through pkg-config; and the unpacked `dorvanel` printing VERSION, then
# storing a file and giving back the same bytes.
set -euo pipefail

if [[ $# -ne 3 ]]; then
    echo "usage: $0 BUILD_DIR SOURCE_DIR VERSION" >&2
    exit 2
fi
build_dir=$(cd -- "$1" && pwd)
consumer_dir=$(cd -- "$2/tests/consumer" && pwd)
version=$3

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

fail() {
    echo "check.sh: $*" >&2
    exit 1
}

if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack failed"
fi
root=$work/root
mkdir "$root"
for deb in "$work/packages"/*.deb; do
    echo "$(basename -- "$deb"): $(stat -c %s "$deb") bytes"
    dpkg-deb -x "$deb" "$root"
done

library=$(find "$root" -name 'libDorvanel.so.*' -type l -print -quit)
[[ -n $library ]] || fail "no libDorvanel.so.* in the packages"
lib_dir=$(dirname -- "$library")

# libDorvanel.so.0.1 comes in libdorvanel0.1, as Debian names a library's package.
soname=$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
name=${soname%%.so.*}
expected=${name,,}${soname#*.so.}
[[ -f $(echo "$work/packages/${expected}_"*.deb) ]] || fail "no package $expected for $soname"
[[ -s $lib_dir/resource/NoDisponible.jpg ]] || fail "resource/NoDisponible.jpg is not beside $library"
[[ -s $lib_dir/resource/translations/dorvanel_en.qm ]] || fail "resource/translations/dorvanel_en.qm is not beside $library"
# The extraction program comes with the library, beside it, where the library looks for it.
runtime_files=$(dpkg-deb -c "$(echo "$work/packages/${expected}_"*.deb)")
grep -q "/${lib_dir#"$root/"}/dorvanel-extract$" <<< "$runtime_files" ||
    fail "dorvanel-extract is not in $expected beside $library"
[[ -x $lib_dir/dorvanel-extract ]] || fail "dorvanel-extract is not an executable beside $library"
for binary in "$root/usr/bin/dorvanel" "$lib_dir/dorvanel-extract" "$(readlink -f -- "$library")"; do
    if readelf -d "$binary" | grep -E '\((RPATH|RUNPATH)\)'; then
        fail "$binary carries a library search path"
    fi
done

# shellcheck source=tests/consumer/builds.sh
source "$consumer_dir/builds.sh"
consumer_settings "$build_dir"
# The program only: that every header compiles alone is installed_package's to check.
consumer_cmake_targets=(dorvanel_consumer)
build_and_run_consumers "$consumer_dir" "$root/usr" "$lib_dir" "$work"

dorvanel() {
    LD_LIBRARY_PATH="$lib_dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" QT_QPA_PLATFORM=offscreen \
        "$root/usr/bin/dorvanel" --db "sqlite:$work/documents.sqlite" "$@"
}
dorvanel --version | tee "$work/version"
grep -qF "$version" "$work/version" || fail "dorvanel --version does not name $version"
dorvanel init
key=$(dorvanel store "$lib_dir/resource/NoDisponible.jpg" --name Muestra | tail -n 1)
dorvanel get "$key" -o "$work/copy.jpg"
cmp "$lib_dir/resource/NoDisponible.jpg" "$work/copy.jpg"
echo "stored and fetched $key: the same bytes"
