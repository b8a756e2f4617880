#!/usr/bin/env bash
# Installs every Debian package the build, the viewer and the tests need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
PKGS=(
  build-essential cmake ninja-build clang lld libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-ibase libgl-dev
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils firebird3.0-server
  xvfb xdotool imagemagick x11-utils fonts-wqy-microhei fonts-liberation2
  at-spi2-core python3-pyatspi dbus-x11 openbox x11-xserver-utils wmctrl libxcb1-dev
  libxcb-xfixes0-dev trayer
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  # The server package must not start a system service here; the tests start their own.
  if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d >/dev/null
    $SUDO chmod +x /usr/sbin/policy-rc.d
    trap '$SUDO rm -f /usr/sbin/policy-rc.d' EXIT
  fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
