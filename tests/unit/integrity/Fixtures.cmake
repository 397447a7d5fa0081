# Libraries the integrity tests check, made at build time into <tests>/integrity: a small library
# signed with the publisher key, a copy changed after signing, one signed with a second key under
# the same name, an unsigned one, and three stand-ins for other builds of the base library.
set(fixture_dir "${DESKLING_TEST_DIR}/integrity")
set(fixture_src "${CMAKE_CURRENT_LIST_DIR}/fixtures")

deskling_make_publisher("${DESKLING_SIGNING_DIR}/foreign-key.pem" "${DESKLING_SIGNING_DIR}/foreign-cert.pem"
    "/O=Vexa/CN=Vexa Test Publisher")

add_library(integrity_trust_sample SHARED "${fixture_src}/TrustSample.c")
add_library(integrity_object_only_base SHARED "${fixture_src}/ObjectOnlyBase.cpp")
add_library(integrity_third_party_base SHARED "${fixture_src}/ThirdPartyBase.cpp")
add_library(integrity_swapping_base SHARED "${fixture_src}/SwappingBase.cpp")
foreach(target integrity_trust_sample integrity_object_only_base integrity_third_party_base integrity_swapping_base)
    target_compile_options(${target} PRIVATE ${DESKLING_WARNINGS})
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/integrity-fixtures")
endforeach()
target_link_libraries(integrity_object_only_base PRIVATE vexabase_core)
target_link_libraries(integrity_third_party_base PRIVATE vexabase_core)
target_link_libraries(integrity_swapping_base PRIVATE vexabase_core)

set(key "${DESKLING_PUBLISHER_KEY}")
set(cert "${DESKLING_PUBLISHER_CERT}")
set(sample "$<TARGET_FILE:integrity_trust_sample>")
set(outputs sample-signed.dll sample-changed.dll sample-foreign.dll sample-unsigned.dll object-only-base.dll
    third-party-base.dll swapping-base.dll)
list(TRANSFORM outputs PREPEND "${fixture_dir}/")
add_custom_command(OUTPUT ${outputs}
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${fixture_dir}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${sample}" "${fixture_dir}/sample-unsigned.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "${sample}" "${fixture_dir}/sample-signed.dll"
    COMMAND ${DESKLING_SIGN_FILE} "${key}" "${cert}" "${fixture_dir}/sample-signed.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "${fixture_dir}/sample-signed.dll" "${fixture_dir}/sample-changed.dll"
    COMMAND sh "${fixture_src}/flip-byte.sh" "${fixture_dir}/sample-changed.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "${sample}" "${fixture_dir}/sample-foreign.dll"
    COMMAND ${DESKLING_SIGN_FILE} "${DESKLING_SIGNING_DIR}/foreign-key.pem" "${DESKLING_SIGNING_DIR}/foreign-cert.pem"
            "${fixture_dir}/sample-foreign.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:integrity_object_only_base>" "${fixture_dir}/object-only-base.dll"
    COMMAND ${DESKLING_SIGN_FILE} "${key}" "${cert}" "${fixture_dir}/object-only-base.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:integrity_third_party_base>" "${fixture_dir}/third-party-base.dll"
    COMMAND ${DESKLING_SIGN_FILE} "${key}" "${cert}" "${fixture_dir}/third-party-base.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:integrity_swapping_base>" "${fixture_dir}/swapping-base.dll"
    COMMAND ${DESKLING_SIGN_FILE} "${key}" "${cert}" "${fixture_dir}/swapping-base.dll"
    DEPENDS integrity_trust_sample integrity_object_only_base integrity_third_party_base integrity_swapping_base
            "${fixture_src}/flip-byte.sh" "${DESKLING_SIGNING_DIR}/sign-file.sh" "${cert}"
    COMMENT "Signing the integrity test libraries"
    VERBATIM)
add_custom_target(integrity_fixtures DEPENDS ${outputs})
add_dependencies(deskling_unit_tests integrity_fixtures Vexabase)
