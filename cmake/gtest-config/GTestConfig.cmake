# GoogleTest is built inside a Windows build tree (cmake/Windows.cmake);
# its targets GTest::gtest, GTest::gmock and GTest::gtest_main exist already.
set(GTest_FOUND TRUE)
