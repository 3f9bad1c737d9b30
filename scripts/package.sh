# Sourced by dist.sh: the per-user Windows Installer package, built with
# wixl from installer/tolvarine.wxs when MDE and VERSION are given.
#   check_package_inputs        fails, saying why, on a bad MDE or VERSION;
#                               sets package_version ("" when no package is asked for)
#   build_package <launcher> <source tree> <msi>
#                               the package of that launcher image and MDE

package_error() {
    echo "error: cannot build the package: $*" >&2
    return 1
}

check_package_inputs() {
    package_version=""
    if [ -z "${MDE:-}" ]; then
        [ -z "${VERSION:-}" ] ||
            package_error "VERSION=$VERSION is given without MDE=<the application's Tolvarine.mde>"
        return
    fi
    [ -n "${VERSION:-}" ] ||
        package_error "MDE is given without VERSION=<major.minor.build>, e.g. VERSION=1.0.0"
    # At most 3, 3 and 5 digits, so that the shell's arithmetic cannot overflow.
    [[ "$VERSION" =~ ^([0-9]{1,3})\.([0-9]{1,3})\.([0-9]{1,5})$ ]] ||
        package_error "VERSION=$VERSION is not three numbers separated by dots (major.minor.build, e.g. 1.0.0)"
    local major=$((10#${BASH_REMATCH[1]})) minor=$((10#${BASH_REMATCH[2]})) build=$((10#${BASH_REMATCH[3]}))
    [ "$major" -le 255 ] && [ "$minor" -le 255 ] && [ "$build" -le 65535 ] ||
        package_error "VERSION=$VERSION is out of Windows Installer's range (major and minor at most 255, build at most 65535)"
    [ -f "$MDE" ] && [ -r "$MDE" ] || package_error "MDE=$MDE is not a readable file"
    command -v wixl >/dev/null || package_error "wixl is not installed: run 'make deps'"
    package_version=$major.$minor.$build
}

# wixl builds a package that silently lacks an attribute it does not know,
# warning only: any warning fails the build.
build_package() {
    local launcher=$1 source=$2 msi=$3 stage
    stage=$(dirname "$msi")/package-files
    rm -rf "$stage" && mkdir -p "$stage" &&
        cp "$launcher" "$stage/TolvarineLauncher.exe" &&
        cp "$MDE" "$stage/Tolvarine.mde" &&
        cp "$source/window/tolvarine.ico" "$stage/tolvarine.ico" || return 1
    local messages code=0
    messages=$(cd "$stage" && wixl -D Version="$package_version" -o "$msi" "$source/installer/tolvarine.wxs" 2>&1) ||
        code=$?
    rm -rf "$stage"
    [ -z "$messages" ] || printf '%s\n' "$messages"
    if [ "$code" -ne 0 ] || grep -qiE 'warning|critical' <<<"$messages"; then
        rm -f "$msi"
        package_error "wixl did not build installer/tolvarine.wxs cleanly (see above)"
    fi
}
