# Qt's headers are most of every compile, so each family of targets shares one precompiled
# header (cmake/pch/<family>.h), built once by a target of its own with the family's Qt modules.
function(pellor3_pch_family family)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    set(source ${CMAKE_CURRENT_BINARY_DIR}/pch_${family}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "")
    add_library(pellor3_pch_${family} OBJECT ${source})
    set_target_properties(pellor3_pch_${family} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    target_link_libraries(pellor3_pch_${family} PRIVATE ${ARG_DEPENDS})
    target_precompile_headers(pellor3_pch_${family} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/${family}.h)
endfunction()

# One static library per src/ folder, built from every source file in it.
function(pellor3_library name)
    cmake_parse_arguments(ARG "" "PCH" "DEPENDS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    add_library(pellor3_${name} STATIC ${sources})
    target_include_directories(pellor3_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(pellor3_${name} PUBLIC ${ARG_DEPENDS})
    if(NOT ARG_PCH)
        set(ARG_PCH widgets)
    endif()
    target_precompile_headers(pellor3_${name} REUSE_FROM pellor3_pch_${ARG_PCH})
endfunction()

# Every tests/<folder>/tst_*.cpp is one Qt Test program testing the library src/<folder>. They are
# all made in this one directory: Qt Test defines the directory in each program's compile flags,
# and a precompiled header serves only programs whose flags match its own.
function(pellor3_tests folder)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/tst_*.cpp)
    foreach(test_source IN LISTS tests)
        get_filename_component(test_name ${test_source} NAME_WE)
        set(target ${folder}_${test_name})
        add_executable(${target} ${test_source})
        target_link_libraries(${target} PRIVATE pellor3_testcommon pellor3_${folder} Qt6::Test)
        target_precompile_headers(${target} REUSE_FROM pellor3_pch_tests)
        add_test(NAME ${folder}/${test_name} COMMAND ${target})
        set_tests_properties(${folder}/${test_name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 300)
    endforeach()
endfunction()
