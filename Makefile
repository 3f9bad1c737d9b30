# Entry points for a fresh Debian 12 machine. Each installs what is missing.
.PHONY: all deps build test demo screenshot dist bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

test: build
	@scripts/test.sh

# The demo and the release print one line per step; the build's output goes to a log under build/.
demo: deps
	@scripts/step.sh "Building the Windows programs" build/demo-build.log scripts/build.sh wine
	@scripts/demo.sh

screenshot: deps
	@scripts/build.sh wine
	@scripts/screenshot.sh

# make dist MDE=<Tolvarine.mde> VERSION=<major.minor.build> adds the Windows Installer package;
# make dist SIGN_PFX=<file.pfx> SIGN_PASSWORD_FILE=<file> [SIGN_TIMESTAMP_URL=<url>] signs it all.
dist: deps
	@MDE="$(MDE)" VERSION="$(VERSION)" \
		SIGN_PFX="$(SIGN_PFX)" SIGN_PASSWORD_FILE="$(SIGN_PASSWORD_FILE)" SIGN_TIMESTAMP_URL="$(SIGN_TIMESTAMP_URL)" \
		scripts/dist.sh

clean:
	rm -rf build dist

bench: deps
	@scripts/build.sh bench
	@bench/run.sh
