# The two commands of a fresh machine: `make demo` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all bootstrap build test demo clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > $(BUILD).configure.log || { cat $(BUILD).configure.log; exit 1; }
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) --timeout 600

demo: build
	@scripts/demo $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD).configure.log

# The Windows station, cross-built for x86-64 and i686: dist/tandrel-windows-x64.zip
# and dist/tandrel-windows-x86.zip.
.PHONY: windows
windows: bootstrap
	@JOBS=$(JOBS) scripts/windows-dist
