# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
JOBS      ?= $(shell nproc)

.PHONY: all deps configure build run test asan-test fuzz bench format clean install

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display is attached. Start the program under a virtual X server:"; \
	  echo "    xvfb-run -a -s '-screen 0 1280x1024x24' $(BUILD_DIR)/bin/kurvant"; \
	  exit 1; \
	fi
	@$(BUILD_DIR)/bin/kurvant

# Every test twice: in the C locale and in ru_RU.UTF-8 (tools/run-tests.sh).
test: build
	@bash tools/run-tests.sh $(BUILD_DIR) -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKURVANT_SANITIZE=ON -DKURVANT_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@bash tools/run-tests.sh $(ASAN_DIR) -j $(JOBS)

# Every reader fuzzed for FUZZ_SECONDS each (default 60) by libFuzzer under the sanitizers, built
# with clang in build-fuzz; see tools/fuzz.sh.
fuzz: deps
	@bash tools/fuzz.sh

# Installs the programs, the desktop entry, the document type and the icons under PREFIX.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: build
	@for b in $(BUILD_DIR)/bin/bench_*; do echo "== $$b"; $$b; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR) build-fuzz
