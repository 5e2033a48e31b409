# Thin wrapper over the CMake presets. `make run` and `make test` are the two commands of the README.
.PHONY: deps configure build run test test-sanitize bench fuzz clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

run: build
	@bash scripts/run.sh

test: build
	@ctest --preset default

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
	rm -rf build build-sanitize build-fuzz
