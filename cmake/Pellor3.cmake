# One static library per src/ folder, built from every source file in it.
function(pellor3_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    add_library(pellor3_${name} STATIC ${sources})
    target_include_directories(pellor3_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(pellor3_${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# Every tests/<folder>/tst_*.cpp is one Qt Test program; tests/common holds their helpers.
function(pellor3_tests folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(test_source IN LISTS tests)
        get_filename_component(test_name ${test_source} NAME_WE)
        set(target ${folder}_${test_name})
        add_executable(${target} ${test_source})
        target_link_libraries(${target} PRIVATE pellor3_testcommon ${ARG_DEPENDS} Qt6::Test)
        add_test(NAME ${folder}/${test_name} COMMAND ${target})
        set_tests_properties(${folder}/${test_name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 300)
    endforeach()
endfunction()
