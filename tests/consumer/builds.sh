# shellcheck shell=bash
# Builds the small host in tests/consumer against an installed (or unpacked) tree, the two ways
# a user of the library would: through its CMake package and through pkg-config only. Source it.
#
#   consumer_settings BUILD_DIR    take the compiler, build type and sanitizer flags of the
#                                  library's build in BUILD_DIR (its CMakeCache.txt)
#   build_with_cmake CONSUMER_DIR PREFIX OUT_DIR
#                                  configure and build with find_package(Dorvanel) finding PREFIX
#                                  (only the targets in consumer_cmake_targets, when it names any)
#   build_with_pkgconfig CONSUMER_DIR PC_DIR OUT_FILE
#                                  compile and link main.cpp with the flags of `pkg-config dorvanel`
#                                  found in PC_DIR, and no CMake at all
#   build_and_run_consumers CONSUMER_DIR PREFIX LIB_DIR WORK_DIR
#                                  both of the above, into WORK_DIR, for the tree whose library
#                                  (and pkgconfig folder) is in LIB_DIR; then runs both programs

consumer_cmake_args=()
consumer_cmake_targets=()
consumer_search_path=
consumer_cxx=c++
consumer_cxxflags=()

consumer_settings() {
    local build_dir=$1 value
    cache_value() { # NAME -> the value in CMakeCache.txt, empty when unset
        sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt" | head -n 1
    }
    consumer_cmake_args=(-G Ninja)
    # Extra search paths (e.g. for Qt) as the library's build had them.
    consumer_search_path=$(cache_value CMAKE_PREFIX_PATH)
    value=$(cache_value CMAKE_CXX_COMPILER)
    if [[ -n $value ]]; then
        consumer_cmake_args+=("-DCMAKE_CXX_COMPILER=$value")
        consumer_cxx=$value
    fi
    value=$(cache_value CMAKE_BUILD_TYPE)
    if [[ -n $value ]]; then consumer_cmake_args+=("-DCMAKE_BUILD_TYPE=$value"); fi
    # A sanitizer build of the library needs the sanitizer runtime in the program too.
    if [[ $(cache_value DORVANEL_SANITIZE) =~ ^(ON|1|TRUE|YES)$ ]]; then
        consumer_cmake_args+=("-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined"
            "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
        consumer_cxxflags+=("-fsanitize=address,undefined")
        export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    fi
}

build_with_cmake() {
    local consumer_dir=$1 prefix=$2 out=$3
    cmake "${consumer_cmake_args[@]}" -S "$consumer_dir" -B "$out" \
        "-DCMAKE_PREFIX_PATH=$prefix${consumer_search_path:+;$consumer_search_path}"
    cmake --build "$out" ${consumer_cmake_targets[@]:+--target "${consumer_cmake_targets[@]}"}
}

build_with_pkgconfig() {
    local consumer_dir=$1 pc_dir=$2 out=$3 flags
    flags=$(PKG_CONFIG_PATH="$pc_dir${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}" pkg-config --cflags --libs dorvanel)
    echo "pkg-config --cflags --libs dorvanel: $flags"
    # shellcheck disable=SC2086  # the flags are words
    "$consumer_cxx" -std=c++20 -Wall -Wextra -Werror "${consumer_cxxflags[@]}" \
        "$consumer_dir/main.cpp" -o "$out" $flags
}

build_and_run_consumers() {
    local consumer_dir=$1 prefix=$2 lib_dir=$3 work=$4
    build_with_cmake "$consumer_dir" "$prefix" "$work/cmake_consumer"
    build_with_pkgconfig "$consumer_dir" "$lib_dir/pkgconfig" "$work/pkgconfig_consumer"
    local program
    for program in "$work/cmake_consumer/dorvanel_consumer" "$work/pkgconfig_consumer"; do
        LD_LIBRARY_PATH="$lib_dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
            "$program"
    done
}
