# The HTML reference of the public headers (public_headers, as src/ lists them), made by Doxygen
# from their /// comments: the
# target "docs" (scripts/docs), into BUILD/docs/html. It fails on any warning, an undocumented
# public name among them. Only where Doxygen is installed.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
  set(DOXYGEN_PROJECT_NAME ${PROJECT_NAME})
  set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
  set(DOXYGEN_PROJECT_BRIEF "Documents kept in a host application's database, with their dialogs")
  set(DOXYGEN_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/docs)
  set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/src/generated)
  set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
  # A comment for the first of a group of members (///@{ ... ///@}) tells of all of them.
  set(DOXYGEN_DISTRIBUTE_GROUP_DOC YES)
  set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
  set(DOXYGEN_WARN_NO_PARAMDOC NO)
  set(DOXYGEN_WARN_AS_ERROR FAIL_ON_WARNINGS)
  # Which symbols the library exports does not change what they do.
  set(DOXYGEN_MACRO_EXPANSION YES)
  set(DOXYGEN_EXPAND_ONLY_PREDEF YES)
  set(DOXYGEN_PREDEFINED DORVANEL_EXPORT= DORVANEL_NO_EXPORT=)
  doxygen_add_docs(docs ${public_headers} COMMENT "The HTML reference of the public headers")
endif()
