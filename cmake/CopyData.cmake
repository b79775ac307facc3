# Copies the data directory SOURCE into DESTINATION, only what changed.
file(COPY ${SOURCE}/ DESTINATION ${DESTINATION})
