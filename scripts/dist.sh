#!/usr/bin/env bash
# Release build from the committed sources (HEAD), in a fresh folder
# (DIST_FROM=worktree: from the working tree as it is, for the release checks):
# <out>/TolvarineLauncher.exe, <out>/ManualLaunch.exe, <out>/TolvarineCheck.exe, <out>/SHA256SUMS.
# With VERSION the images carry that version (else the project's); with MDE
# and VERSION also <out>/Tolvarine-<VERSION>.msi and the check's alone,
# <out>/TolvarineCheck-<VERSION>.msi (see package.sh).
# With a signing route (a .pfx or a PKCS#11 token, see sign.sh) the images are signed,
# then the packages are built from the signed images and signed too, and
# <out>/UNSIGNED-SHA256SUMS gives the sums of the reproducible images
# before signing. The release folder appears whole, or not at all: a failed
# run leaves an earlier one as it was.
# Usage: dist.sh [out folder, default dist] [work folder, default build/dist-work]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/dist}")
work=$(realpath -m "${2:-$root/build/dist-work}")
. "$root/scripts/sign.sh"
. "$root/scripts/step.sh"
. "$root/scripts/package.sh"
images=(TolvarineLauncher.exe ManualLaunch.exe TolvarineCheck.exe)
[ -z "${MDE:-}" ] || MDE=$(realpath -m "$MDE")
check_package_inputs
check_signing_inputs
signing=$signing_route
source_tree=${DIST_FROM:-HEAD}
[[ "$source_tree" == @(HEAD|worktree) ]] || { echo "error: DIST_FROM=$source_tree is neither HEAD nor worktree" >&2; exit 1; }
if [ "$source_tree" = HEAD ] && [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "note: uncommitted changes are not in the release; it is built from HEAD" >&2
fi
rm -rf "$work" && mkdir -p "$work/src" "$work/release"
built=$work/src/build/windows
release=$work/release

# The tracked and untracked files of the working tree that exist, as they are.
worktree_files() {
    local file
    git -C "$root" ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' file; do
        [ -e "$root/$file" ] && printf '%s\0' "$file"
    done
}

copy_sources() {
    if [ "$source_tree" = worktree ]; then
        tar -c -C "$root" --null -T <(worktree_files) | tar -x -C "$work/src"
    else
        git -C "$root" archive HEAD | tar -x -C "$work/src"
    fi
}

# Chained: a function run as a step does not stop at its first failure by itself.
build_release() {
    copy_sources && (
        cd "$work/src" &&
            cmake --preset windows ${release_version:+-DTOLVARINE_VERSION=$release_version} &&
            cmake --build --preset windows --target TolvarineLauncher ManualLaunch TolvarineCheck -j"$(nproc)"
    )
}

sign_release() {
    (cd "$built" && sha256sum "${images[@]}") >"$release/UNSIGNED-SHA256SUMS"
    for image in "${images[@]}"; do
        sign_image "$built/$image" "$release/$image" || return 1
        # The signature must cover exactly the reproducible image.
        rm -f "$work/unsigned-again.exe"
        osslsigncode remove-signature -in "$release/$image" -out "$work/unsigned-again.exe" >/dev/null 2>&1 &&
            cmp -s "$work/unsigned-again.exe" "$built/$image" ||
            signing_error "removing the signature from $image does not give back the built image" || return 1
    done
}

# The build's output goes to a log beside the work folder, shown only on a failure.
run_step "Building the release from ${source_tree/worktree/the working tree}" "$work.log" build_release
if [ -n "$signing" ]; then
    run_step "Signing the images" "$work.sign.log" sign_release
else
    cp "${images[@]/#/$built/}" "$release/"
fi
shipped=("${images[@]}")
if [ -n "$package_version" ]; then
    package=Tolvarine-$package_version.msi check_package=TolvarineCheck-$package_version.msi
    # From the launcher and the check as shipped: signed before they go inside.
    run_step "Building the package $package" "$work.package.log" \
        build_package "$release/TolvarineLauncher.exe" "$work/src" "$work/$package"
    run_step "Building the package $check_package" "$work.check-package.log" \
        build_check_package "$release/TolvarineCheck.exe" "$work/src" "$work/$check_package"
    for msi in "$package" "$check_package"; do
        if [ -n "$signing" ]; then
            description=Tolvarine && [ "$msi" = "$package" ] || description="Tolvarine check"
            run_step "Signing the package $msi" "$work.sign-package.log" sign_image "$work/$msi" "$release/$msi" "$description"
        else
            cp "$work/$msi" "$release/"
        fi
    done
    shipped+=("$package" "$check_package")
fi
(cd "$release" && sha256sum "${shipped[@]}" >SHA256SUMS)
# The earlier release goes only once the new one is complete.
mkdir -p "$(dirname "$out")"
rm -rf "$out.previous"
[ ! -e "$out" ] || mv "$out" "$out.previous"
# -T: never into an earlier folder that is still there.
mv -T "$release" "$out"
rm -rf "$out.previous"
echo "Release in $out:"
cat "$out/SHA256SUMS"
print_detection "$out/TolvarineLauncher.exe" ${package_version:+"$out/$package" "$out/$check_package"}
