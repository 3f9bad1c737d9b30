# Entry points for a fresh Debian 12 machine. Each installs what is missing.
.PHONY: all deps build test demo screenshot dist bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

test: build
	@scripts/test.sh

demo: deps
	@scripts/build.sh wine
	@scripts/demo.sh

screenshot: deps
	@scripts/build.sh wine
	@scripts/screenshot.sh

dist: deps
	@scripts/dist.sh

clean:
	rm -rf build dist

bench: deps
	@scripts/build.sh wine
	@bench/run.sh
