"""Reads a VTK collection file (.pvd) with Python's XML parser and prints, one a line,
  dataset TIME FILE
for every data set it lists, the file (the rest of the line, blanks included) as a
path beside the collection. Exit status 3
when the collection is not well formed, is not a collection, or names a file that does
not exist."""
import os
import sys
import xml.etree.ElementTree as ET


def main(path):
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as e:
        print(e, file=sys.stderr)
        return 3
    collection = root.find("Collection")
    if root.tag != "VTKFile" or root.get("type") != "Collection" or collection is None:
        print("not a collection", file=sys.stderr)
        return 3
    status = 0
    for data in collection.findall("DataSet"):
        file = os.path.join(os.path.dirname(path), data.get("file"))
        if not os.path.isfile(file):
            print("missing", file, file=sys.stderr)
            status = 3
        print("dataset", "%.17g" % float(data.get("timestep")), file)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
