# Sourced by run.sh and screenshot.sh.

# Picks the Windows build to run: the 32-bit program, the product, where
# 32-bit Wine starts; otherwise the 64-bit one. Found out by trying. Sets
# MORVANE_WINE_ARCH and morvane_preset.
morvane_choose_build() {
  if (MORVANE_WINE_ARCH=win32 && source scripts/wine-env.sh && morvane_wine_works); then
    morvane_preset=win32
    echo "Running the 32-bit program (build/win32) under 32-bit Wine."
  elif (MORVANE_WINE_ARCH=win64 && source scripts/wine-env.sh && morvane_wine_works); then
    morvane_preset=win64
    echo "Running the 64-bit program (build/win64): 32-bit Wine does not start on this machine."
  else
    echo "Wine does not start on this machine: run ./scripts/install-deps.sh, then try again." >&2
    return 1
  fi
  export MORVANE_WINE_ARCH=$morvane_preset
}

# Writes the demo SaveGame folder (<build>/demo/SaveGame, the game's folder
# being <build>/demo) and points a display-capable Wine prefix of its own at
# it (the test prefix has none).
morvane_prepare_demo() {
  local repo demo
  repo=$(pwd)
  demo="$repo/build/demo"
  rm -rf "$demo"
  build/native/tools/morvane-make-demo "$demo/SaveGame"
  export MORVANE_WINEPREFIX="$repo/build/wineprefix-gui-$MORVANE_WINE_ARCH" MORVANE_WINE_DISPLAY=1
  source scripts/wine-env.sh
  morvane_wine_prefix
  # The 32-bit game writes its folder in the 32-bit registry view; the key is
  # kGameKey in src/ui/registry_value.h.
  wine reg add 'HKLM\Software\Microsoft\Microsoft Games\Age of Empires II: The Conquerors Expansion\1.0' \
    /v "EXE Path" /t REG_SZ /d "Z:${demo//\//\\}" /f /reg:32 >/dev/null
}
