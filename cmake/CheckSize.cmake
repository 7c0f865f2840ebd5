# Fails when FILE is larger than LIMIT bytes: the program is one file that
# users copy around, and its pictures must not make it grow past the limit.
file(SIZE "${FILE}" size)
message(STATUS "${FILE}: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} is ${size} bytes, more than ${LIMIT}")
endif()
