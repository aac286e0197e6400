# Installs the packages the build and the tests need, when missing.
# Sourced by the top-level commands.

rastel_packages=(
  cmake g++ make
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64
  xvfb openbox xdotool x11-utils imagemagick
  googletest libbenchmark-dev
  fonts-ipafont-gothic fonts-horai-umefont fonts-wine
  libxext-dev
  clang libclang-rt-14-dev
)

rastel_install_deps() {
  local missing=() p
  for p in "${rastel_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "rastel: installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
