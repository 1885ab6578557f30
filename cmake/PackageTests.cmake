# The installed game and the installed libraries, checked from outside the build tree. They
# package or install the whole build first, so they carry the label "package": make test leaves
# them out and make package-test runs them.
add_test(NAME Package.DebianPackagePlays
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/deb_test.sh ${CMAKE_BINARY_DIR}
            ${CMAKE_BINARY_DIR}/package-test/deb)
add_test(NAME Package.ConsumerBuildsAgainstInstalledToolkit
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/consumer/consumer_test.sh ${CMAKE_BINARY_DIR}
            ${CMAKE_BINARY_DIR}/package-test/consumer)
set_tests_properties(Package.DebianPackagePlays Package.ConsumerBuildsAgainstInstalledToolkit
    PROPERTIES LABELS package TIMEOUT 300)
zindrel_test_environment()
