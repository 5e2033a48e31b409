# Thin wrapper over the CMake presets. `make run` and `make test` are the two commands of the README.
.PHONY: deps configure build run test test-linux test-windows test-sanitize bench fuzz clean check-layers format

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

run: build
	@bash scripts/run.sh

# The Linux tests, then the Windows lane under wine.
test: test-linux test-windows

test-linux: build
	@ctest --preset default

# Windows programs and plain suites cross-built with mingw-w64 and run under wine in the build's own
# prefix; the lane's link tests use the Linux simulator, so the Linux build comes first. The wine
# server of the prefix is stopped at the end, pass or fail. The prefix is made (once) before the tests,
# so that its first start does not count against a test's time limit.
test-windows: build
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows
	@WINEPREFIX=$(CURDIR)/build-windows/wine-prefix; export WINEPREFIX; \
	  VARNOK_WINE_TIMEOUT=60 bash scripts/wine-run.sh cmd.exe /c exit; \
	  timeout 1200 ctest --preset windows; status=$$?; wineserver -k 2>/dev/null; exit $$status

test-sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	@ctest --preset sanitize

bench: build
	@bash scripts/bench.sh

# Runs every fuzz target for FUZZ_SECONDS seconds (default 60) from its seed corpus.
fuzz: deps
	@bash scripts/fuzz.sh

clean:
	rm -rf build build-sanitize build-windows build-fuzz

# The folder graph and the targets' links (also run by the tests), and the code formatted with .clang-format.
check-layers: configure
	@python3 scripts/check-layers.py . build

format:
	@bash scripts/format.sh
