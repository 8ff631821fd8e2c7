/* A system log of the test's own, put in front of the C library with LD_PRELOAD: every record a
 * process sends to syslog is appended as one line to the file named by MW_FAKE_SYSLOG_FILE, and
 * nothing reaches the machine's log. Without that variable records are dropped. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <syslog.h>
#include <unistd.h>

static void record(const char* format, va_list args) {
    const char* path = getenv("MW_FAKE_SYSLOG_FILE");
    if (!path || !*path) return;
    char line[4096];
    int length = vsnprintf(line, sizeof line - 1, format, args);
    if (length < 0) return;
    if (length > (int)sizeof line - 2) length = (int)sizeof line - 2;
    /* One record is one line: line breaks inside it become blanks. */
    for (int i = 0; i < length; ++i) {
        if (line[i] == '\n') line[i] = ' ';
    }
    line[length++] = '\n';
    int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    ssize_t written = write(fd, line, (size_t)length);
    (void)written;
    close(fd);
}

void openlog(const char* ident, int option, int facility) {
    (void)ident;
    (void)option;
    (void)facility;
}

void closelog(void) {}

void vsyslog(int priority, const char* format, va_list args) {
    (void)priority;
    record(format, args);
}

void syslog(int priority, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vsyslog(priority, format, args);
    va_end(args);
}

void __vsyslog_chk(int priority, int flag, const char* format, va_list args) {
    (void)flag;
    vsyslog(priority, format, args);
}

void __syslog_chk(int priority, int flag, const char* format, ...) {
    (void)flag;
    va_list args;
    va_start(args, format);
    vsyslog(priority, format, args);
    va_end(args);
}
