/* scan_floor: the least work any reader of a MIDAS text file must do, to compare the importer with.
 * Reads every line through fgets into a 512-byte buffer and converts every comma-separated field with
 * strtod, keeping nothing but a checksum (printed, so the conversions cannot be left out).
 *
 *     scan_floor FILE
 */
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: scan_floor FILE\n");
        return 2;
    }
    FILE* file = fopen(argv[1], "rb");
    if (!file) {
        fprintf(stderr, "scan_floor: cannot open %s\n", argv[1]);
        return 2;
    }
    char line[512];
    double sum = 0.0;
    long lines = 0;
    long fields = 0;
    while (fgets(line, sizeof line, file)) {
        ++lines;
        char* p = line;
        for (;;) {
            char* end;
            sum += strtod(p, &end);
            ++fields;
            while (*end && *end != ',')
                ++end;
            if (*end != ',')
                break;
            p = end + 1;
        }
    }
    fclose(file);
    printf("%ld lines, %ld fields, checksum %g\n", lines, fields, sum);
    return 0;
}
