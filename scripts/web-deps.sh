#!/usr/bin/env bash
# Builds the web build's C libraries (zlib, libzip, freealut) with emcc from Debian's own source
# packages into DEPS (default build-web/deps): DEPS/include and DEPS/lib. Emscripten's ports
# would download from elsewhere, so they are not used.
#
# The sources come from `apt-get source` through a private apt configuration under DEPS/apt:
# the machine's enabled apt sources with the deb-src type added, and lists and archives of
# its own, so the system's apt configuration is left exactly as it is.
#
# Cached: a library whose DEPS/stamp/NAME exists is not fetched or built again.
set -euo pipefail

DEPS=$(realpath -m "${1:-build-web/deps}")
JOBS=${JOBS:-2}
mkdir -p "$DEPS"/{src,include,lib,stamp}

if [ -f "$DEPS/stamp/zlib" ] && [ -f "$DEPS/stamp/libzip" ] && [ -f "$DEPS/stamp/freealut" ]; then
    exit 0
fi

# --- private apt configuration -------------------------------------------------------------
APT="$DEPS/apt"
mkdir -p "$APT/sources.list.d" "$APT/lists/partial" "$APT/archives/partial"
: > "$APT/sources.list"
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]\(.*\)$/deb \1\ndeb-src \1/p' /etc/apt/sources.list \
        > "$APT/sources.list"
fi
for file in /etc/apt/sources.list.d/*.list; do
    [ -e "$file" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]\(.*\)$/deb \1\ndeb-src \1/p' "$file" \
        > "$APT/sources.list.d/$(basename "$file")"
done
for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] || continue
    sed 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$file" \
        > "$APT/sources.list.d/$(basename "$file")"
done
APT_OPTIONS=(
    -o "Dir::Etc::SourceList=$APT/sources.list"
    -o "Dir::Etc::SourceParts=$APT/sources.list.d"
    -o "Dir::State::Lists=$APT/lists"
    -o "Dir::Cache=$APT"
    -o "Dir::Cache::archives=$APT/archives"
    -o "Dir::Cache::pkgcache="
    -o "Dir::Cache::srcpkgcache="
    -o "APT::Sandbox::User=root"
)
if [ ! -f "$APT/updated" ]; then
    apt-get "${APT_OPTIONS[@]}" update -qq
    touch "$APT/updated"
fi

# Unpacks Debian source package $1 into DEPS/src and prints the folder. Where the newest
# version's files cannot be had (a security suite that serves no sources), the release's own
# version is taken.
_fetch() {
    local package=$1 release folder
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    find "$DEPS/src" -mindepth 1 -maxdepth 1 -name "${package}[-_]*" -exec rm -rf {} +
    if ! (cd "$DEPS/src" && apt-get "${APT_OPTIONS[@]}" source -qq "$package" >/dev/null 2>&1); then
        find "$DEPS/src" -mindepth 1 -maxdepth 1 -name "${package}[-_]*" -exec rm -rf {} +
        (cd "$DEPS/src" && apt-get "${APT_OPTIONS[@]}" source -qq "$package/$release" >&2) || true
    fi
    folder=$(find "$DEPS/src" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
    # A mirror that serves the upstream tarball but not Debian's packaging still gives the
    # library's own sources: apt checked the tarball against the source index.
    if [ -z "$folder" ]; then
        tarball=$(find "$DEPS/src" -maxdepth 1 -name "${package}_*.orig.tar.*" | head -n 1)
        [ -n "$tarball" ] && tar -xf "$tarball" -C "$DEPS/src"
        folder=$(find "$DEPS/src" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
    fi
    if [ -z "$folder" ]; then
        echo "web-deps: could not fetch the source package $package" >&2
        exit 1
    fi
    echo "$folder"
}

# --- zlib: its sources compiled directly, as its own static library ------------------------
if [ ! -f "$DEPS/stamp/zlib" ]; then
    src=$(_fetch zlib)
    objects=()
    for name in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
                inflate inftrees trees uncompr zutil; do
        emcc -O2 -DHAVE_UNISTD_H -DHAVE_STDARG_H -c "$src/$name.c" -o "$src/$name.o"
        objects+=("$src/$name.o")
    done
    rm -f "$DEPS/lib/libz.a"
    emar rcs "$DEPS/lib/libz.a" "${objects[@]}"
    cp "$src/zlib.h" "$src/zconf.h" "$DEPS/include/"
    touch "$DEPS/stamp/zlib"
fi

# --- libzip: its own CMake build, zlib only (no other compression, no crypto, no tools) -----
if [ ! -f "$DEPS/stamp/libzip" ]; then
    src=$(_fetch libzip)
    # The type sizes of wasm32, given rather than probed: the probe runs its test program
    # under node, and node answers with its own exit status instead of the size.
    type_sizes=()
    for entry in __int8:0 int8_t:1 uint8_t:1 __int16:0 int16_t:2 uint16_t:2 __int32:0 int32_t:4 \
                 uint32_t:4 __int64:0 int64_t:8 uint64_t:8 short:2 int:4 long:4 long_long:8; do
        name=${entry%%:*} size=${entry##*:}
        variable=$(echo "${name}_LIBZIP" | tr '[:lower:]' '[:upper:]')
        if [ "$size" = 0 ]; then
            type_sizes+=("-DHAVE_$variable=")
        else
            type_sizes+=("-DHAVE_$variable=TRUE" "-D$variable=$size")
        fi
    done
    type_sizes+=(-DHAVE_SIZEOF_OFF_T=TRUE -DSIZEOF_OFF_T=8 -DHAVE_SIZEOF_SIZE_T=TRUE -DSIZEOF_SIZE_T=4)
    emcmake cmake -S "$src" -B "$src/build-web" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$DEPS" -DBUILD_SHARED_LIBS=OFF \
        -DZLIB_INCLUDE_DIR="$DEPS/include" -DZLIB_LIBRARY="$DEPS/lib/libz.a" \
        -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF \
        -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
        -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
        "${type_sizes[@]}" >/dev/null
    cmake --build "$src/build-web" -j "$JOBS" >/dev/null
    cmake --install "$src/build-web" >/dev/null
    touch "$DEPS/stamp/libzip"
fi

# --- freealut: its sources compiled directly against Emscripten's OpenAL headers ------------
if [ ! -f "$DEPS/stamp/freealut" ]; then
    src=$(_fetch freealut)
    objects=()
    for file in "$src"/src/*.c; do
        emcc -O2 -c "$file" -o "${file%.c}.o" -I"$src/include" -DHAVE_STDINT_H -DHAVE_UNISTD_H \
            -DHAVE_TIME_H -DHAVE_NANOSLEEP -DHAVE_STAT -DALUT_BUILD_LIBRARY
        objects+=("${file%.c}.o")
    done
    rm -f "$DEPS/lib/libalut.a"
    emar rcs "$DEPS/lib/libalut.a" "${objects[@]}"
    mkdir -p "$DEPS/include/AL"
    cp "$src/include/AL/alut.h" "$DEPS/include/AL/"
    touch "$DEPS/stamp/freealut"
fi
