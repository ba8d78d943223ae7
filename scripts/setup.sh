#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, as root. Idempotent:
# a machine that has it all already is left as it is, quickly.
set -euo pipefail

packages=(cmake ninja-build g++ g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          googletest wine wine32:i386 wine64 xvfb xdotool x11-utils xauth fonts-wine fonts-ipafont-gothic
          locales imagemagick binutils zip unzip python3 clang libclang-rt-14-dev nsis)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Some virtual machines cannot execute 32-bit x86 code at all (no 32-bit code segment), which
# wine32 needs. There, 32-bit Linux programs run under qemu's user-mode emulator. The emulator of
# Debian 12 cannot run Wine (it ignores fixed-address reservations), the one of Debian 13 can; it is
# statically linked, so it is taken from Debian 13's package without touching the system's packages.
native_i386_works() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
# The Debian archive this machine already installs from (the first source of its own release in
# sources.list or a deb822 .sources file), so that only the suite changes and no host is named here.
debian_mirror() {
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk -v suite="$codename" '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                                              if ($(i + 1) == suite) print $i }'
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
      awk -v suite="$codename" 'function flush() { if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ")) { split(uris, u, " "); print u[1] }
                                                   types = uris = suites = "" }
                                /^[ \t]*$/ { flush(); next }
                                /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
                                /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
                                /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
                                END { flush() }'
  } | head -n1 || true
}
if ! native_i386_works; then
  qemu=/usr/local/lib/trellane/qemu-i386
  if [ ! -x "$qemu" ]; then
    echo "setup: this machine cannot run 32-bit code natively; fetching Debian 13's qemu-i386"
    work=$(mktemp -d)
    mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/state"
    mirror=$(debian_mirror)
    [ -n "$mirror" ] || { echo "setup: no Debian mirror in this machine's apt sources" >&2; exit 1; }
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror trixie main" > "$work/sources.list"
    aptopts=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State="$work/state" -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
             -o APT::Architecture=amd64 -o APT::Architectures=amd64 -o APT::Sandbox::User=root -q)
    apt-get "${aptopts[@]}" update >/dev/null
    (cd "$work" && apt-get "${aptopts[@]}" download qemu-user >/dev/null 2>&1)
    dpkg-deb -x "$work"/qemu-user_*.deb "$work/x"
    install -D -m 0755 "$work/x/usr/bin/qemu-i386" "$qemu"
    rm -rf "$work"
  fi
  mountpoint -q /proc/sys/fs/binfmt_misc || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  entry=/proc/sys/fs/binfmt_misc/trellane-i386
  if [ ! -e "$entry" ]; then
    for other in /proc/sys/fs/binfmt_misc/qemu-i386; do [ -e "$other" ] && echo -1 > "$other"; done
    echo ':trellane-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':POCF' \
      > /proc/sys/fs/binfmt_misc/register
  fi
  native_i386_works || { echo "setup: 32-bit programs still cannot run" >&2; exit 1; }
fi

# A Japanese locale in a private folder, so that Wine can run with code page 932 as on a Japanese
# system without changing the machine's own locales.
locdir=/usr/local/lib/trellane/locale
if [ ! -d "$locdir/ja_JP.UTF-8" ]; then
  mkdir -p "$locdir"
  localedef -i ja_JP -f UTF-8 "$locdir/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
