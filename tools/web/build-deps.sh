#!/usr/bin/env bash
# Builds the web player's libraries for WebAssembly from Debian's own source packages, with Debian's
# emscripten, into a prefix keyed by the emscripten version and every source package's version: a
# second run with the same versions only prints the prefix. Nothing is fetched but from the Debian
# archive the machine already uses.
# Usage: tools/web/build-deps.sh            prints the prefix on its last line
# Environment: QA_WEB_CACHE (default ~/.cache/quorvart-web), JOBS (default: the number of cores)
set -euo pipefail
cache=${QA_WEB_CACHE:-$HOME/.cache/quorvart-web}
jobs=${JOBS:-$(nproc)}

SOURCES=(zlib expat libzip libogg libvorbis mpg123 libopenmpt libsndfile libsdl2 libsdl2-image
  freetype libsdl2-ttf)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
need=()
for p in curl emscripten autotools-dev autoconf automake libtool dpkg-dev pkg-config cmake make nodejs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${need[@]}"
fi

# Debian's source index, read apart from the system's own lists (which hold binaries only).
apt_dir="$cache/apt"
mkdir -p "$apt_dir/lists/partial"
if [ ! -s "$apt_dir/sources.list" ]; then
  # The system's own mirror and release, however its lists are written (one-line or deb822): the
  # first of its binary indexes of main that is not an update or security suite.
  # shellcheck disable=SC2016 # apt expands the $(...) fields itself
  read -r uri suite < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT) $(CREATED_BY)' |
    awk '$3 == "main" && $4 == "Packages" && $2 !~ /-/ {print $1, $2; exit}') || true
  if [ -z "${uri:-}" ] || [ -z "${suite:-}" ]; then
    echo "no Debian release in the system's package lists to fetch the sources from" >&2
    exit 1
  fi
  echo "deb-src $uri $suite main" > "$apt_dir/sources.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$apt_dir/lists" -o Debug::NoLocking=1)
if ! ls "$apt_dir/lists/"*Sources* > /dev/null 2>&1; then
  apt-get "${apt_opts[@]}" update -qq
fi

# The version of each source package, newest in the index.
# RECIPE: raise it when a library's options below change, so the prefix is built anew.
RECIPE=1
key_text="emscripten $(dpkg-query -W -f='${Version}' emscripten), recipe $RECIPE"
declare -A version
for s in "${SOURCES[@]}"; do
  v=$(apt-cache "${apt_opts[@]}" showsrc "$s" | awk '/^Version:/ {print $2}' | sort -V | tail -1)
  [ -n "$v" ] || { echo "no source package $s in $apt_dir/sources.list" >&2; exit 1; }
  version[$s]=$v
  key_text+=$'\n'"$s $v"
done
key=$(printf '%s' "$key_text" | sha256sum | cut -c1-16)
root="$cache/$key"
prefix="$root/prefix"
if [ -f "$root/complete" ]; then
  echo "$prefix"
  exit 0
fi
mkdir -p "$root/src" "$prefix"
printf '%s\n' "$key_text" > "$root/versions"

# Emscripten 3.1.6 and the machine's newer node: the fixes every build below needs.
export NODE_PATH=/usr/share/nodejs
emulator="/usr/bin/node;--no-experimental-fetch"
export CFLAGS="-O2 -fexceptions -I$prefix/include"
export CXXFLAGS="-O2 -fexceptions -I$prefix/include"
export LDFLAGS="-L$prefix/lib -fexceptions"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig:$prefix/share/pkgconfig"
export PKG_CONFIG_LIBDIR="$PKG_CONFIG_PATH"
export EM_PKG_CONFIG_PATH="$PKG_CONFIG_PATH"
cmake_common=(-G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF
  -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" -DCMAKE_POLICY_DEFAULT_CMP0074=NEW)

fetch() {  # SOURCE-PACKAGE: unpacks it once into $root/src, prints the folder
  local s=$1 v=${version[$1]} upstream dir
  upstream=${v#*:}
  upstream=${upstream%-*}
  dir="$root/src/$s-$upstream"
  if [ ! -d "$dir" ]; then
    # File by file, without the upstream signatures (.asc): the sources are unpacked unchecked (the
    # index they come from is signed), and the mirror lacks some of them.
    (cd "$root/src" &&
      apt-get "${apt_opts[@]}" source --print-uris -qq "$s=$v" | awk '/^\x27/ {print $1, $2}' |
      while read -r url f; do
        url=${url//\'/}
        case $f in *.asc) continue ;; esac
        [ -s "$f" ] && continue
        curl -fsS -o "$f.part" "$url" && mv "$f.part" "$f" ||
          { rm -f "$f.part"; echo "cannot fetch $url" >&2; exit 1; }
      done &&
      rm -rf "$dir.part" && dpkg-source --no-check -x "$(ls "${s}_"*.dsc | head -1)" "$dir.part" > /dev/null &&
      mv "$dir.part" "$dir")
  fi
  echo "$dir"
}

fresh_config_sub() {  # the packages' own config.sub predates the emscripten target
  find "$1" -name config.sub -exec cp /usr/share/misc/config.sub {} \;
  find "$1" -name config.guess -exec cp /usr/share/misc/config.guess {} \;
}

built() { [ -f "$root/built-$1" ]; }
done_with() { touch "$root/built-$1"; echo "built $1" >&2; }

cmake_lib() {  # SOURCE-PACKAGE [cmake options...]
  local s=$1 dir
  shift
  built "$s" && return
  dir=$(fetch "$s")
  rm -rf "$dir/build-web"
  emcmake cmake -S "$dir" -B "$dir/build-web" "${cmake_common[@]}" "$@" > "$root/$s.log" 2>&1
  cmake --build "$dir/build-web" -j "$jobs" >> "$root/$s.log" 2>&1
  cmake --install "$dir/build-web" >> "$root/$s.log" 2>&1
  done_with "$s"
}

configure_lib() {  # SOURCE-PACKAGE [configure options...]
  local s=$1 dir
  shift
  built "$s" && return
  dir=$(fetch "$s")
  fresh_config_sub "$dir"
  (cd "$dir" && emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$prefix" \
    --disable-shared --enable-static "$@" > "$root/$s.log" 2>&1 &&
    emmake make -j "$jobs" >> "$root/$s.log" 2>&1 && emmake make install >> "$root/$s.log" 2>&1)
  done_with "$s"
}

trap 'echo "FAILED: see the last lines of the newest log in $root" >&2' ERR

# zlib: its own configure (its CMake build names a Windows resource file the package removed).
if ! built zlib; then
  dir=$(fetch zlib)
  (cd "$dir" && emconfigure ./configure --static --prefix="$prefix" > "$root/zlib.log" 2>&1 &&
    emmake make -j "$jobs" libz.a >> "$root/zlib.log" 2>&1 && emmake make install >> "$root/zlib.log" 2>&1)
  done_with zlib
fi
# expat: autotools, from the folder the package keeps it in (a Debian patch breaks its CMake build).
if ! built expat; then
  dir=$(fetch expat)/expat
  fresh_config_sub "$dir"
  (cd "$dir" && { [ -x configure ] || ./buildconf.sh > "$root/expat.log" 2>&1; } &&
    emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$prefix" --disable-shared \
      --enable-static --without-docbook --without-examples --without-tests --without-xmlwf \
      >> "$root/expat.log" 2>&1 &&
    emmake make -j "$jobs" >> "$root/expat.log" 2>&1 && emmake make install >> "$root/expat.log" 2>&1)
  done_with expat
fi
cmake_lib libzip -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF \
  -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
cmake_lib libogg -DINSTALL_DOCS=OFF
cmake_lib libvorbis
configure_lib mpg123 --with-cpu=generic --disable-modules --with-default-audio=dummy \
  --with-audio=dummy --disable-components --enable-libmpg123
configure_lib libopenmpt --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
  --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile --without-flac \
  --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc
cmake_lib libsndfile -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF \
  -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF
# SDL: single-threaded, so the page needs no cross-origin isolation.
cmake_lib libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF
cmake_lib libsdl2-image -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_AVIF=OFF \
  -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_VENDORED=OFF \
  -DSDL2IMAGE_DEPS_SHARED=OFF
cmake_lib freetype -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake_lib libsdl2-ttf -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF

touch "$root/complete"
echo "$prefix"
