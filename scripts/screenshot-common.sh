# Sourced by the screenshot scripts: installs the X tools they need when one
# is missing, and names the program to start from the build folder.
# Usage: screenshot_program <build folder> <program name>

for tool in xvfb-run import convert xdotool; do
  command -v "$tool" >/dev/null || {
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb imagemagick xdotool
    break
  }
done

screenshot_program() {
  local program="$1/bin/$2"
  [ -x "$program" ] || { echo "no $program; build first" >&2; exit 1; }
  echo "$program"
}
