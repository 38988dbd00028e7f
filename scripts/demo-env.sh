# Sourced by run.sh and screenshot.sh: writes the demo SaveGame folder
# (<build>/demo/SaveGame, the game's folder being <build>/demo) and points a
# display-capable Wine prefix of its own at it (the test prefix has none).
morvane_prepare_demo() {
  local repo demo
  repo=$(pwd)
  demo="$repo/build/demo"
  rm -rf "$demo"
  build/native/tools/morvane-make-demo "$demo/SaveGame"
  export MORVANE_WINEPREFIX="$repo/build/wineprefix-gui" MORVANE_WINE_DISPLAY=1
  source scripts/wine-env.sh
  morvane_wine_prefix
  # The same key as kGameKey in src/ui/registry_value.h.
  wine reg add 'HKLM\Software\Microsoft\Microsoft Games\Age of Empires II: The Conquerors Expansion\1.0' \
    /v "EXE Path" /t REG_SZ /d "Z:${demo//\//\\}" /f >/dev/null
}
