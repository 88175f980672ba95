# Two commands set everything up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the gadgets
#   make test  installs what is missing, builds, runs every test
.PHONY: all deps build build-release run test bench format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset debug
	cmake --build --preset debug

build-release: deps
	cmake --preset release
	cmake --build --preset release

run: build-release
	scripts/run-gadgets.sh build/release/bin

test: build
	scripts/run-tests.sh build/debug

bench: build-release
	scripts/run-benchmarks.sh build/release

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
