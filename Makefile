# The two commands of a fresh machine: `make demo` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all bootstrap build test demo line-demo clean

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

line-demo: build
	@scripts/line-demo $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD).configure.log

# The Debian packages `tandrel`, `tandrel-simulator` and `tandrel-line`, written into dist/.
# A tree of their own, installed under /usr, so that the build above keeps
# its /usr/local prefix; only what the packages hold is built there.
PACKAGE_BUILD ?= build-package
DIST ?= dist
# Every date in the packages (the manual pages', the changelog's, the time
# stamps inside them) is SOURCE_DATE_EPOCH, the last commit's time unless
# given: two runs on one commit give the same bytes.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
package: export SOURCE_DATE_EPOCH := $(SOURCE_DATE_EPOCH)
endif

.PHONY: package
package: bootstrap
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(CMAKE_FLAGS) \
	  > $(PACKAGE_BUILD).configure.log || { cat $(PACKAGE_BUILD).configure.log; exit 1; }
	@cmake --build $(PACKAGE_BUILD) --target package-contents -j$(JOBS)
	@rm -rf $(PACKAGE_BUILD)/packages
	@cpack --config $(PACKAGE_BUILD)/CPackConfig.cmake -B $(PACKAGE_BUILD)/packages > $(PACKAGE_BUILD)/cpack.log \
	  || { cat $(PACKAGE_BUILD)/cpack.log; exit 1; }
	@mkdir -p $(DIST) && rm -f $(DIST)/tandrel_*.deb $(DIST)/tandrel-simulator_*.deb $(DIST)/tandrel-line_*.deb
	@cp $(PACKAGE_BUILD)/packages/*.deb $(DIST)/
	@ls -1 $(DIST)/*.deb

.PHONY: clean-package
clean: clean-package
clean-package:
	rm -rf $(PACKAGE_BUILD) $(PACKAGE_BUILD).configure.log $(DIST)

# The Windows station, cross-built for x86-64 and i686: dist/tandrel-windows-x64.zip
# and dist/tandrel-windows-x86.zip.
.PHONY: windows
windows: bootstrap
	@JOBS=$(JOBS) scripts/windows-dist

.PHONY: clean-windows
clean: clean-windows
clean-windows:
	rm -rf build-win64 build-win32 build-win64.configure.log build-win32.configure.log
