# Two commands set everything up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the gadgets
#   make test  installs what is missing, builds, runs every test
.PHONY: all deps build build-release run test bench gallery install uninstall deb format clean

PREFIX ?=

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

# Contact sheets of every archive's images, for reviewing the artwork.
gallery: build-release
	scripts/gallery.sh build/release

install:
	@test -f build/release/build.ninja || { echo "run 'make build-release' first" >&2; exit 1; }
	cmake --install build/release $(if $(PREFIX),--prefix $(PREFIX))

uninstall:
	cmake -DLUMI_MANIFEST=build/release/install_manifest.txt -P cmake/LumiInstall.cmake

deb: build-release
	cpack --config build/release/CPackConfig.cmake

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
