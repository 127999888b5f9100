#pragma once

#include <QString>

namespace tz4 {

// The one directory that holds the settings file, the database, the templates and the logs:
// the --home option, else the environment variable TZ4_HOME, else the platform's application
// data folder.
QString resolveDataDirectory(const QString& homeOption = {});

// Makes `path` the data directory of this process, creating it when missing. Throws Tz4Error
// (path not found) when it cannot be created.
void setDataDirectory(const QString& path);

// Makes the existing directory `path` the data directory, for work that only reads or changes
// what is already there. Throws Tz4Error (path not found) when there is no such directory.
void useExistingDataDirectory(const QString& path);

// The data directory in use; resolved from the environment on first use when none was set.
QString dataDirectory();

// A file inside the data directory.
QString dataFilePath(const QString& fileName);

// True when `path` names one of the files the program keeps in its data directory (settings,
// database, templates, logs), also through another spelling or a link; nothing may
// overwrite those with an export.
bool isDataDirectoryFile(const QString& path);

} // namespace tz4
